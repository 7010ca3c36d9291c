// The viewer's settings: the member switches and the user's own contact
// data.  Kept in the user's settings store (on Windows the registry key
// HKEY_CURRENT_USER\Software\KovraViewer, sections "FMember" and "FUser"),
// so the viewer, its report, its HTML pages and `kovra` all see the same
// values.  The defaults are written here and nowhere else.
#pragma once

#include <string>
#include <vector>

namespace kovra::services {

// The user's own contact data (UTF-8): printed at the foot of every report
// page, and put into HTML pages through the "/*User...*/" placeholders.
struct ProfileTexts {
    std::string Name = "（株）USER";
    std::string Yubin = "000-0000";
    std::string Jyusyo;
    std::string Tel = "000-000-0000";
    std::string Fax = "000-000-0000";
    std::string Email = "user@example.com";
    std::string Hp = "http://";
};

// One column of the listing browser's table: the field's name as the field
// list spells it ("Kakaku") and its width in pixels (0: fitted to the texts).
struct BrowserColumn {
    std::string Field;
    int Width = 0;
    bool operator==(const BrowserColumn&) const = default;
};

// The listing browser's window as the user left it (section "FBrowser").
// Kept only once the browser has been used: until then nothing is stored.
struct BrowserLayout {
    std::vector<BrowserColumn> Columns; // the shown columns, left to right; empty: the default columns
    int Width = 0, Height = 0;          // the window's size; 0: the default size
    std::string ExportFolder;           // where the last export went; empty: none yet
    bool empty() const { return Columns.empty() && Width <= 0 && Height <= 0 && ExportFolder.empty(); }
    bool operator==(const BrowserLayout&) const = default;
};

// The archive (section "FArchive"): where it is, and whether every file
// the viewer opens goes into it.  Kept only when not the defaults.
struct ArchiveSettings {
    std::string Location;   // "Location"; empty: DefaultArchivePath()
    bool AutoImport = true; // "AutoImport"
    bool operator==(const ArchiveSettings&) const = default;
};

// The program's settings are one object, made when the program starts and
// handed by reference to the windows and runs that read or change them; the
// main window reads it from the store when it is created and writes it back
// when it is destroyed.
struct TUserSettings {
    bool MemberViewOk = true;
    bool MemberPrintOk = true;
    ProfileTexts UserProfile;
    BrowserLayout Browser;
    ArchiveSettings Archive;
    // The comparison sheet's rows (section "FCompare", key "Rows"): field
    // names as the field list spells them, top to bottom; empty: the
    // default rows, and nothing stored.
    std::vector<std::string> CompareRows;
};

// Reads the nine values with their defaults, and the browser's layout.
// Creates the key when missing.  A build without Qt has no store: it reads
// the defaults.
TUserSettings ReadUserSettings();
// Writes the nine values, all as strings ("1"/"0" for the switches), and
// the browser's layout when there is one.
void WriteUserSettings(const TUserSettings& settings);

// The profile texts the HTML pages and the report take from the settings.
ProfileTexts UserProfileTexts(const TUserSettings& settings);

// The archive in the user's data folder (UTF-8): on Windows
// %LOCALAPPDATA%\KovraViewer\archive.sqlite, elsewhere
// $XDG_DATA_HOME/KovraViewer/archive.sqlite ($HOME/.local/share when unset).
// Plain C++: the cores without Qt find it too.
std::string DefaultArchivePath();
// The archive the settings name: FArchive/Location, else the default.
std::string ArchiveLocation(const TUserSettings& settings);

} // namespace kovra::services
