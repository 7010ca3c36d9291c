// The viewer's settings: the member switches and the user's own contact
// data.  Kept in QSettings (on Windows the registry key
// HKEY_CURRENT_USER\Software\KovraViewer, sections "FMember" and "FUser").
// QtCore only, so `kovra` reads the very same values as the viewer.
#pragma once

#include <QString>

namespace kovra {

struct TUserProfile {
    QString Name = QStringLiteral("（株）USER");
    QString Yubin = QStringLiteral("000-0000");
    QString Jyusyo;
    QString Tel = QStringLiteral("000-000-0000");
    QString Fax = QStringLiteral("000-000-0000");
    QString Email = QStringLiteral("user@example.com");
    QString Hp = QStringLiteral("http://");
};

struct TUserSettings {
    bool MemberViewOk = true;
    bool MemberPrintOk = true;
    TUserProfile UserProfile;
};

// The program-wide instance (read when the main window is created, written
// when it is destroyed).
TUserSettings& Settings();

// Reads the nine values with their defaults.  Creates the key when missing.
TUserSettings ReadUserSettings();
// Writes the nine values, all as strings ("1"/"0" for the switches).
void WriteUserSettings(const TUserSettings& settings);

} // namespace kovra
