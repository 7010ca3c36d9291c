#include "Platform.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#  include <shellapi.h>
#  include <cstdio>
#  include <cstdlib>
#  include <fcntl.h>
#  include <io.h>
#endif

namespace kovra::cli::platform {

namespace fs = std::filesystem;

namespace {

std::string ToUtf8(const fs::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace

#ifdef _WIN32

namespace {

std::string Utf8FromWide(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back(); // the terminating NUL
    return out;
}

UINT gConsoleCodePage = 0;

void RestoreConsoleCodePage() { SetConsoleOutputCP(gConsoleCodePage); }

} // namespace

std::vector<std::string> Utf8Arguments(int, char**)
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}

void UseByteStdio()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The console's code page outlives the program: put it back at exit.
    gConsoleCodePage = GetConsoleOutputCP();
    if (gConsoleCodePage != 0 && gConsoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreConsoleCodePage);
}

std::string ProgramFolder(const char*)
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return ".";
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(buffer.size() * 2); // a long path: the name was cut off
    }
    const std::string folder = ToUtf8(fs::path(buffer).parent_path());
    return folder.empty() ? std::string(".") : folder;
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseByteStdio() {}

std::string ProgramFolder(const char* argv0)
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if ((ec || self.empty()) && argv0)
        self = fs::absolute(fs::path(argv0), ec); // a system without /proc
    const std::string folder = ToUtf8(self.parent_path());
    return folder.empty() ? std::string(".") : folder;
}

#endif

} // namespace kovra::cli::platform
