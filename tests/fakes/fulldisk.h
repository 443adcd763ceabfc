#pragma once

#include <csignal>
#include <sys/resource.h>

namespace pelmaris::fakes {

// While alive, every write beyond `bytes` in a file of this process fails with EFBIG,
// as writes on a full disk fail with ENOSPC.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes = 16)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

} // namespace pelmaris::fakes
