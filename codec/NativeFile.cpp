#include "NativeFile.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <random>
#else
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kovra::fileio::native {

namespace fs = std::filesystem;

namespace {

// Refuses what is known not to be a regular file before opening it, since
// opening some devices already does something.
bool KnownNotRegular(const fs::path& path)
{
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    return !ec && fs::exists(st) && !fs::is_regular_file(st);
}

} // namespace

#ifdef _WIN32

OpenResult OpenRegularForReading(const fs::path& path, std::FILE*& file, std::uint64_t& size)
{
    file = nullptr;
    if (KnownNotRegular(path))
        return OpenResult::NotRegular;
    std::FILE* f = _wfopen(path.c_str(), L"rbN");
    if (!f)
        return OpenResult::Failed;
    struct _stat64 st;
    if (_fstat64(_fileno(f), &st) != 0) {
        std::fclose(f);
        return OpenResult::Failed;
    }
    if ((st.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(f);
        return OpenResult::NotRegular;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    file = f;
    return OpenResult::Opened;
}

std::FILE* CreateNew(const fs::path& path) { return _wfopen(path.c_str(), L"wbxN"); }

bool SyncToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

bool SyncToDisk(const fs::path& path)
{
    // Flushing needs a handle open for writing; "r+" changes nothing.
    std::FILE* f = _wfopen(path.c_str(), L"r+bN");
    if (!f)
        return false;
    const bool ok = SyncToDisk(f);
    return std::fclose(f) == 0 && ok;
}

bool MayWrite(const fs::path& path)
{
    std::error_code ec;
    const fs::perms p = fs::status(path, ec).permissions();
    return !ec && (p & fs::perms::owner_write) != fs::perms::none;
}

bool IdentityOf(const fs::path& path, std::uint64_t& device, std::uint64_t& file, std::uint64_t* names)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder too; no access right is
    // needed to ask who a file is.
    const HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    if (!ok)
        return false;
    device = info.dwVolumeSerialNumber;
    file = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (names)
        *names = info.nNumberOfLinks;
    return true;
}

void IgnoreFileSizeLimitSignal() {}

fs::path UserRuntimeFolder() { return {}; }

fs::path MakePrivateFolder(const fs::path& parent, const std::string& prefix)
{
    // The user's own temporary folder is not shared with other users.
    static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = prefix;
        for (int k = 0; k < 6; ++k)
            name += kDigits[random() % (sizeof kDigits - 1)];
        std::error_code ec;
        if (fs::create_directory(parent / name, ec))
            return parent / name;
        if (ec)
            return {};
    }
    return {};
}

bool CreatePrivateFile(const fs::path& path)
{
    std::FILE* f = CreateNew(path);
    return f && std::fclose(f) == 0;
}

#else

OpenResult OpenRegularForReading(const fs::path& path, std::FILE*& file, std::uint64_t& size)
{
    file = nullptr;
    if (KnownNotRegular(path))
        return OpenResult::NotRegular;
    // Non-blocking, so a FIFO put in place after the check above cannot
    // hold the open; fstat then tells what was opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return OpenResult::Failed;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return OpenResult::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return OpenResult::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        ::close(fd);
        return OpenResult::Failed;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    file = f;
    return OpenResult::Opened;
}

std::FILE* CreateNew(const fs::path& path)
{
    // 0666 less the umask: the permissions any new file of the user gets.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f)
        ::close(fd);
    return f;
}

bool SyncToDisk(std::FILE* file)
{
    if (::fsync(::fileno(file)) == 0)
        return true;
    // A file system that cannot sync has nothing more to report.
    return errno == EINVAL || errno == ENOTSUP;
}

bool SyncToDisk(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    return ::close(fd) == 0 && ok;
}

bool MayWrite(const fs::path& path) { return ::access(path.c_str(), W_OK) == 0; }

bool IdentityOf(const fs::path& path, std::uint64_t& device, std::uint64_t& file, std::uint64_t* names)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    device = static_cast<std::uint64_t>(st.st_dev);
    file = static_cast<std::uint64_t>(st.st_ino);
    if (names)
        *names = static_cast<std::uint64_t>(st.st_nlink);
    return true;
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

fs::path UserRuntimeFolder()
{
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    struct stat st;
    if (!folder || folder[0] != '/' || ::lstat(folder, &st) != 0)
        return {};
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return {};
    return folder;
}

fs::path MakePrivateFolder(const fs::path& parent, const std::string& prefix)
{
    std::string pattern = (parent / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) // mode 0700
        return {};
    return pattern;
}

bool CreatePrivateFile(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // The mode is given whatever the umask holds back: 0600 exactly.
    const bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    return ::close(fd) == 0 && ok;
}

#endif

} // namespace kovra::fileio::native
