// The viewer's settings: the member switches and the user's own contact
// data.  Kept in the user's settings store (on Windows the registry key
// HKEY_CURRENT_USER\Software\KovraViewer, sections "FMember" and "FUser"),
// so the viewer, its report, its HTML pages and `kovra` all see the same
// values.  The defaults are written here and nowhere else.
#pragma once

#include <string>

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

struct TUserSettings {
    bool MemberViewOk = true;
    bool MemberPrintOk = true;
    ProfileTexts UserProfile;
};

// The program-wide instance (read when the main window is created, written
// when it is destroyed).
TUserSettings& Settings();

// Reads the nine values with their defaults.  Creates the key when missing.
// A build without Qt has no store: it reads the defaults.
TUserSettings ReadUserSettings();
// Writes the nine values, all as strings ("1"/"0" for the switches).
void WriteUserSettings(const TUserSettings& settings);

// The profile texts the HTML pages and the report take from the settings.
ProfileTexts UserProfileTexts(const TUserSettings& settings);

} // namespace kovra::services
