#include "UserSettings.h"

#include "FileIO.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#  include <cwchar>
#endif

namespace kovra::services {

ProfileTexts UserProfileTexts(const TUserSettings& settings) { return settings.UserProfile; }

std::string DefaultArchivePath()
{
    namespace fs = std::filesystem;
    fs::path folder;
#ifdef _WIN32
    // The wide environment: the ANSI one cannot hold every user name.
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        folder = fs::path(local);
#else
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        folder = fs::path(data);
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = fs::path(home) / ".local" / "share";
#endif
    return fileio::Utf8FromPath(folder / "KovraViewer" / "archive.sqlite");
}

std::string ArchiveLocation(const TUserSettings& settings)
{
    return settings.Archive.Location.empty() ? DefaultArchivePath() : settings.Archive.Location;
}

} // namespace kovra::services
