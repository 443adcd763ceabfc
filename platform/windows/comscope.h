#pragma once

#include <objbase.h>

namespace pelmaris::platform::win32 {

// COM for the calling thread while in scope; the windows platform plugin has it already
// on the window's thread, the offscreen one and worker threads do not.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope &) = delete;
    ComScope &operator=(const ComScope &) = delete;

private:
    HRESULT m_result;
};

// Releases a COM interface pointer at the end of its scope.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    T **put()
    {
        reset();
        return &m_p;
    }
    void **putVoid() { return reinterpret_cast<void **>(put()); }
    explicit operator bool() const { return m_p != nullptr; }
    void reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T *m_p = nullptr;
};

} // namespace pelmaris::platform::win32
