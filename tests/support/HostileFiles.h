// Special files and a full disk for the tests of hostile input.  They exist
// on POSIX systems only; elsewhere the helpers say so and the tests skip.
#pragma once

#include <cstdint>
#include <filesystem>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#endif

namespace kovra::test {

// A FIFO nobody writes to: a reader that opens it blocking waits forever.
inline bool MakeFifo(const std::filesystem::path& path)
{
#ifndef _WIN32
    return ::mkfifo(path.c_str(), 0600) == 0;
#else
    (void)path;
    return false;
#endif
}

// A socket file (bound, not listening).
inline bool MakeSocketFile(const std::filesystem::path& path)
{
#ifndef _WIN32
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string p = path.string();
    if (fd < 0 || p.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, p.c_str(), p.size() + 1);
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
#else
    (void)path;
    return false;
#endif
}

inline bool RunningAsRoot()
{
#ifndef _WIN32
    return ::geteuid() == 0;
#else
    return false;
#endif
}

// While it lives, a write of this process past `bytes` in any file fails as
// on a full disk (the file-size limit, with its signal ignored).
class DiskFullAfter {
public:
    explicit DiskFullAfter(std::uint64_t bytes)
    {
#ifndef _WIN32
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
        rlimit limit = previous_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
#else
        (void)bytes;
#endif
    }
    ~DiskFullAfter()
    {
#ifndef _WIN32
        if (active_)
            ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
#endif
    }
    bool active() const { return active_; }

private:
    bool active_ = false;
#ifndef _WIN32
    rlimit previous_{};
    void (*previousHandler_)(int) = SIG_DFL;
#endif
};

} // namespace kovra::test
