#include "UserSettings.h"
#include "UserSettingsStore.h"

#include "QtText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <memory>

#ifdef Q_OS_WIN
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#endif

namespace kovra::services {

namespace {

QString& redirectedFile()
{
    static QString path;
    return path;
}

// On Windows the key HKEY_CURRENT_USER\Software\KovraViewer itself (opened,
// and created when missing, with the two sections as its subkeys); the
// organisation form of QSettings would add an "OrganizationDefaults" level.
// Elsewhere the user's KovraViewer.conf with the same sections.
std::unique_ptr<QSettings> openStore()
{
    if (!redirectedFile().isEmpty())
        return std::make_unique<QSettings>(redirectedFile(), QSettings::IniFormat);
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\KovraViewer"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("KovraViewer"));
#endif
}

// The store itself exists from the first reading on, before any value is
// written (that happens only at a normal end): a person or a support script
// looking for it finds it while the program runs.  QSettings creates
// neither a key nor a file on reading.
void createStoreWhenMissing(const QSettings& s)
{
#ifdef Q_OS_WIN
    if (redirectedFile().isEmpty()) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\KovraViewer", 0, nullptr, 0, KEY_READ, nullptr, &key,
                            nullptr)
            == ERROR_SUCCESS)
            RegCloseKey(key);
        return;
    }
#endif
    const QFileInfo file(s.fileName());
    if (file.exists())
        return;
    QDir().mkpath(file.absolutePath());
    QFile created(file.absoluteFilePath());
    (void)created.open(QIODevice::WriteOnly | QIODevice::NewOnly); // an empty store reads as the defaults
}

// A hand-edited settings file may hold an unquoted text with commas, which
// the INI reader hands back as a list: join it again rather than lose it.
QString valueText(const QVariant& v)
{
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

// The switches are stored as text; anything that is not a decimal integer
// counts as missing, any non-zero integer as true.
bool readSwitch(QSettings& s, const QString& key, bool def)
{
    const QVariant v = s.value(key);
    if (!v.isValid())
        return def;
    bool ok = false;
    const int n = valueText(v).trimmed().toInt(&ok, 10);
    return ok ? n != 0 : def;
}

std::string readText(QSettings& s, const QString& key, const std::string& def)
{
    const QVariant v = s.value(key);
    return v.isValid() ? u8(valueText(v)) : def;
}

QString switchText(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

int readNumber(QSettings& s, const QString& key)
{
    bool ok = false;
    const int n = valueText(s.value(key)).trimmed().toInt(&ok, 10);
    return ok && n > 0 ? n : 0;
}

// The columns as one text, "Kakaku:80,Syozaitimei:200": readable and
// editable by hand, and the same in the registry and in a settings file.
// A piece that is not NAME:WIDTH is dropped; checking the names is the
// browser's business.
std::vector<BrowserColumn> readColumns(QSettings& s)
{
    std::vector<BrowserColumn> columns;
    const QVariant v = s.value(QStringLiteral("Columns"));
    for (const QString& piece : valueText(v).split(u',', Qt::SkipEmptyParts)) {
        const qsizetype colon = piece.indexOf(u':');
        bool ok = false;
        const int width = colon > 0 ? piece.mid(colon + 1).trimmed().toInt(&ok, 10) : 0;
        if (ok && width >= 0)
            columns.push_back({u8(piece.left(colon).trimmed()), width});
    }
    return columns;
}

QString columnsText(const std::vector<BrowserColumn>& columns)
{
    QStringList pieces;
    for (const BrowserColumn& c : columns)
        pieces << q(c.Field) + u':' + QString::number(c.Width);
    return pieces.join(u',');
}

} // namespace

void RedirectUserSettings(const std::string& iniFile) { redirectedFile() = q(iniFile); }

TUserSettings ReadUserSettings()
{
    const TUserSettings def;
    TUserSettings out;
    auto s = openStore();
    createStoreWhenMissing(*s);

    s->beginGroup(QStringLiteral("FMember"));
    out.MemberViewOk = readSwitch(*s, QStringLiteral("MemberViewOk"), def.MemberViewOk);
    out.MemberPrintOk = readSwitch(*s, QStringLiteral("MemberPrintOk"), def.MemberPrintOk);
    s->endGroup();

    s->beginGroup(QStringLiteral("FUser"));
    ProfileTexts& p = out.UserProfile;
    const ProfileTexts& d = def.UserProfile;
    p.Name = readText(*s, QStringLiteral("Name"), d.Name);
    p.Yubin = readText(*s, QStringLiteral("Yubin"), d.Yubin);
    p.Jyusyo = readText(*s, QStringLiteral("Jyusyo"), d.Jyusyo);
    p.Tel = readText(*s, QStringLiteral("Tel"), d.Tel);
    p.Fax = readText(*s, QStringLiteral("Fax"), d.Fax);
    p.Email = readText(*s, QStringLiteral("Email"), d.Email);
    p.Hp = readText(*s, QStringLiteral("Hp"), d.Hp);
    s->endGroup();

    s->beginGroup(QStringLiteral("FArchive"));
    out.Archive.Location = readText(*s, QStringLiteral("Location"), def.Archive.Location);
    out.Archive.AutoImport = readSwitch(*s, QStringLiteral("AutoImport"), def.Archive.AutoImport);
    s->endGroup();

    s->beginGroup(QStringLiteral("FBrowser"));
    out.Browser.Columns = readColumns(*s);
    out.Browser.Width = readNumber(*s, QStringLiteral("Width"));
    out.Browser.Height = readNumber(*s, QStringLiteral("Height"));
    out.Browser.ExportFolder = readText(*s, QStringLiteral("ExportFolder"), std::string());
    s->endGroup();

    const QString rows = valueText(s->value(QStringLiteral("FCompare/Rows")));
    for (const QString& name : rows.split(u',', Qt::SkipEmptyParts))
        out.CompareRows.push_back(u8(name.trimmed()));
    return out;
}

void WriteUserSettings(const TUserSettings& settings)
{
    auto s = openStore();
    s->beginGroup(QStringLiteral("FMember"));
    s->setValue(QStringLiteral("MemberViewOk"), switchText(settings.MemberViewOk));
    s->setValue(QStringLiteral("MemberPrintOk"), switchText(settings.MemberPrintOk));
    s->endGroup();

    const ProfileTexts& p = settings.UserProfile;
    s->beginGroup(QStringLiteral("FUser"));
    s->setValue(QStringLiteral("Name"), q(p.Name));
    s->setValue(QStringLiteral("Yubin"), q(p.Yubin));
    s->setValue(QStringLiteral("Jyusyo"), q(p.Jyusyo));
    s->setValue(QStringLiteral("Tel"), q(p.Tel));
    s->setValue(QStringLiteral("Fax"), q(p.Fax));
    s->setValue(QStringLiteral("Email"), q(p.Email));
    s->setValue(QStringLiteral("Hp"), q(p.Hp));
    s->endGroup();

    // A user who never changed the archive's settings finds no trace of them.
    if (settings.Archive == ArchiveSettings()) {
        s->remove(QStringLiteral("FArchive"));
    } else {
        s->beginGroup(QStringLiteral("FArchive"));
        s->setValue(QStringLiteral("Location"), q(settings.Archive.Location));
        s->setValue(QStringLiteral("AutoImport"), switchText(settings.Archive.AutoImport));
        s->endGroup();
    }

    // A user who never opened the browser finds no trace of it.
    if (!settings.Browser.empty()) {
        s->beginGroup(QStringLiteral("FBrowser"));
        s->setValue(QStringLiteral("Columns"), columnsText(settings.Browser.Columns));
        s->setValue(QStringLiteral("Width"), QString::number(settings.Browser.Width));
        s->setValue(QStringLiteral("Height"), QString::number(settings.Browser.Height));
        if (!settings.Browser.ExportFolder.empty())
            s->setValue(QStringLiteral("ExportFolder"), q(settings.Browser.ExportFolder));
        s->endGroup();
    }

    if (settings.CompareRows.empty()) {
        s->remove(QStringLiteral("FCompare"));
    } else {
        QStringList rows;
        for (const std::string& name : settings.CompareRows)
            rows.append(q(name));
        s->setValue(QStringLiteral("FCompare/Rows"), rows.join(u','));
    }
    s->sync();
}

} // namespace kovra::services
