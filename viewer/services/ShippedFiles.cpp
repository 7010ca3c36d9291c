#include "ShippedFiles.h"

#include "Cp932Codec.h"
#include "FileIO.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#endif

namespace kovra::services {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8Of(const fs::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

// The running program's own file, asked of the system (not argv[0], which
// a start through PATH leaves without a folder).
fs::path RunningProgram()
{
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return fs::path(buffer);
        }
        buffer.resize(buffer.size() * 2); // a long path: the name was cut off
    }
#else
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
#endif
}

std::string& FolderOverride()
{
    static std::string folder;
    return folder;
}

} // namespace

std::string ProgramFolder()
{
    if (!FolderOverride().empty())
        return FolderOverride();
    static const std::string found = [] {
        const std::string folder = Utf8Of(RunningProgram().parent_path());
        return folder.empty() ? std::string(".") : folder;
    }();
    return found;
}

void SetProgramFolder(const std::string& folder) { FolderOverride() = folder; }

std::vector<std::string> ShippedFilePlaces()
{
    std::vector<std::string> places{ProgramFolder()};
    // The installed layout keeps them in a folder of the program's own
    // (bin/../share/kovra-viewer); on Windows that is the program's folder.
    constexpr std::string_view fromProgram = KOVRA_SHIPPED_FROM_PROGRAM;
    if (!fromProgram.empty())
        places.push_back(Utf8Of((PathOf(ProgramFolder()) / PathOf(fromProgram)).lexically_normal()));
    return places;
}

std::string ShippedFile(std::string_view name)
{
    const fs::path relative = PathOf(name).make_preferred();
    for (const std::string& place : ShippedFilePlaces()) {
        std::error_code ec;
        const fs::path candidate = PathOf(place) / relative;
        if (fs::exists(candidate, ec))
            return Utf8Of(candidate);
    }
    return Utf8Of(PathOf(ProgramFolder()) / relative);
}

std::string ReadableReadme(const std::string& copyFolder)
{
    const std::string shipped = ShippedFile("Readme.txt");
#ifdef _WIN32
    (void)copyFolder;
    return shipped;
#else
    constexpr std::uint64_t kReadmeLimit = 4 * 1024 * 1024;
    std::string bytes;
    if (copyFolder.empty() || !fileio::ReadWholeFile(shipped, bytes, kReadmeLimit).ok())
        return shipped; // the viewer says nothing of a missing Readme
    std::error_code ec;
    fs::create_directories(PathOf(copyFolder), ec);
    const std::string copy = Utf8Of(PathOf(copyFolder) / "Readme.txt");
    // Written whole and then renamed into place: a viewer still showing the
    // last copy never sees half a file.
    if (!fileio::WriteFileAtomically(copy, cp932::toUtf8(bytes), fileio::Durability::LeftToTheSystem))
        return shipped;
    return copy;
#endif
}

} // namespace kovra::services
