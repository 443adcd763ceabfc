#include "platform/windows/windowsshortcuts.h"

#include "platform/windows/comscope.h"
#include "platform/windows/win32text.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

namespace pelmaris::platform {

namespace {

class WindowsShortcutLink final : public ShortcutLink {
public:
    explicit WindowsShortcutLink(ShortcutKind kind) : m_kind(kind)
    {
        m_last = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  m_link.putVoid());
    }

    int setPath(const QString &target) override
    {
        if (!m_link)
            return m_last;
        const std::wstring path = win32::wide(QDir::toNativeSeparators(target));
        if (remember(m_link->SetPath(path.c_str())) != 0)
            return m_last;
        // A program's shortcut shows the program's own icon.
        if (m_kind != ShortcutKind::Document)
            remember(m_link->SetIconLocation(path.c_str(), 0));
        return m_last;
    }
    int setArguments(const QString &arguments) override
    {
        return m_link ? remember(m_link->SetArguments(win32::wide(arguments).c_str())) : m_last;
    }
    int setWorkingDirectory(const QString &folder) override
    {
        return m_link ? remember(m_link->SetWorkingDirectory(
                            win32::wide(QDir::toNativeSeparators(folder)).c_str()))
                      : m_last;
    }
    int setDescription(const QString &text) override
    {
        return m_link ? remember(m_link->SetDescription(win32::wide(text).c_str())) : m_last;
    }
    int save(const QString &file) override
    {
        if (!m_link)
            return m_last;
        const QFileInfo info(file);
        if (!QDir().mkpath(info.absolutePath())) {
            m_last = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
            return m_last;
        }
        win32::ComPtr<IPersistFile> persist;
        if (remember(m_link->QueryInterface(IID_IPersistFile, persist.putVoid())) != 0)
            return m_last;
        const std::wstring name = win32::wide(QDir::toNativeSeparators(info.absoluteFilePath()));
        return remember(persist->Save(name.c_str(), TRUE));
    }
    QString errorText() const override { return win32::errorText(DWORD(m_last)); }

private:
    // 0 for success, the HRESULT otherwise.
    int remember(HRESULT hr)
    {
        m_last = SUCCEEDED(hr) ? 0 : int(hr);
        return m_last;
    }

    win32::ComScope m_com;
    ShortcutKind m_kind;
    win32::ComPtr<IShellLinkW> m_link;
    int m_last = 0;
};

} // namespace

std::unique_ptr<ShortcutLink> WindowsShortcuts::create(ShortcutKind kind)
{
    return std::make_unique<WindowsShortcutLink>(kind);
}

QString WindowsShortcuts::extension() const
{
    return QStringLiteral(".lnk");
}

QString readShellLinkTarget(const QString &linkFile)
{
    win32::ComScope com;
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.putVoid())))
        return {};
    win32::ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, persist.putVoid())))
        return {};
    const std::wstring name = win32::wide(QDir::toNativeSeparators(linkFile));
    if (FAILED(persist->Load(name.c_str(), STGM_READ)))
        return {};
    // The stored target as it is: no search for a moved target, which could take long
    // or show a window.
    wchar_t target[MAX_PATH * 4] = {};
    if (link->GetPath(target, int(std::size(target)), nullptr, SLGP_RAWPATH) != S_OK)
        return {};
    return win32::fromWide(target);
}

} // namespace pelmaris::platform
