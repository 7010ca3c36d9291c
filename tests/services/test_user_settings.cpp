// The settings store alone (QtCore): defaults, the switch rule, texts.
#include "UserSettings.h"
#include "UserSettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovra::services;

namespace {
struct SwitchCase {
    const char* stored; // nullptr: missing
    bool expected;
};
} // namespace

class SwitchRuleTest : public ::testing::TestWithParam<SwitchCase> {};

// Guards: a stored switch is an integer text; anything else is the default.
TEST_P(SwitchRuleTest, ReadsIntegerTextWithDefault)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    if (GetParam().stored) {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue(QStringLiteral("FMember/MemberPrintOk"), QString::fromLatin1(GetParam().stored));
    }
    RedirectUserSettings(ini.toStdString());
    EXPECT_EQ(ReadUserSettings().MemberPrintOk, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SwitchRuleTest,
                         ::testing::Values(SwitchCase{nullptr, true}, SwitchCase{"0", false}, SwitchCase{"1", true},
                                           SwitchCase{"-3", true}, SwitchCase{"abc", true}, SwitchCase{"", true},
                                           SwitchCase{"1.5", true}));

// Guards: missing values give the documented defaults; a written profile
// reads back unchanged, including empty texts.
TEST(UserSettingsTest, DefaultsAndRoundTrip)
{
    QTemporaryDir dir;
    RedirectUserSettings(dir.filePath(QStringLiteral("s.ini")).toStdString());
    const TUserSettings d = ReadUserSettings();
    EXPECT_TRUE(d.MemberViewOk);
    EXPECT_EQ(d.UserProfile.Name, "（株）USER");
    EXPECT_EQ(d.UserProfile.Yubin, "000-0000");
    EXPECT_TRUE(d.UserProfile.Jyusyo.empty());
    EXPECT_EQ(d.UserProfile.Fax, "000-000-0000");
    EXPECT_EQ(d.UserProfile.Hp, "http://");

    TUserSettings w;
    w.MemberViewOk = false;
    w.UserProfile.Name = "山田, 不動産";
    w.UserProfile.Tel.clear();
    WriteUserSettings(w);
    const TUserSettings r = ReadUserSettings();
    EXPECT_FALSE(r.MemberViewOk);
    EXPECT_TRUE(r.MemberPrintOk);
    EXPECT_EQ(r.UserProfile.Name, "山田, 不動産");
    EXPECT_TRUE(r.UserProfile.Tel.empty());
}

// Guards the browser's layout: nothing stored until it has one, a written
// layout reads back, and hand-edited pieces that are not NAME:WIDTH are
// dropped instead of spoiling the rest.
TEST(UserSettingsTest, BrowserLayoutRoundTripAndBadPieces)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    RedirectUserSettings(ini.toStdString());
    WriteUserSettings(TUserSettings{});
    EXPECT_FALSE(QSettings(ini, QSettings::IniFormat).childGroups().contains(QStringLiteral("FBrowser")));

    TUserSettings w;
    w.Browser = {{{"Kakaku", 80}, {"Syozaitimei", 0}}, 900, 600};
    WriteUserSettings(w);
    EXPECT_EQ(ReadUserSettings().Browser, w.Browser);

    struct Case {
        const char* stored;
        std::vector<BrowserColumn> read;
    };
    const Case cases[] = {
        {"Kakaku:80,,Toho0:x,:5,Bikou", {{"Kakaku", 80}}},
        {" Kakaku : 80 , HeyaKazu:-1", {{"Kakaku", 80}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("FBrowser/Columns"), QString::fromUtf8(c.stored));
        EXPECT_EQ(ReadUserSettings().Browser.Columns, c.read) << c.stored;
    }
}

// Guards: the archive's settings are kept only when not the defaults (on by
// default), and the archive lies in the user's data folder unless named.
TEST(UserSettingsTest, ArchiveSettingsAndPlace)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    RedirectUserSettings(ini.toStdString());
    TUserSettings w;
    WriteUserSettings(w);
    EXPECT_FALSE(QSettings(ini, QSettings::IniFormat).childGroups().contains(QStringLiteral("FArchive")));
    EXPECT_TRUE(ReadUserSettings().Archive.AutoImport);

    w.Archive = {"/srv/office/archive.sqlite", false};
    WriteUserSettings(w);
    EXPECT_EQ(ReadUserSettings().Archive, w.Archive);
    EXPECT_EQ(ArchiveLocation(w), "/srv/office/archive.sqlite");
    WriteUserSettings(TUserSettings{});
    EXPECT_FALSE(QSettings(ini, QSettings::IniFormat).childGroups().contains(QStringLiteral("FArchive")));

    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    EXPECT_EQ(ArchiveLocation(TUserSettings{}), dir.filePath(QStringLiteral("data/KovraViewer/archive.sqlite")).toStdString());
    qunsetenv("XDG_DATA_HOME");
    RedirectUserSettings({});
}

// Guards: reading creates the store (its folder too) and writes no value.
TEST(UserSettingsTest, ReadingCreatesAnEmptyStore)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("new/folder/s.ini"));
    RedirectUserSettings(ini.toStdString());
    EXPECT_TRUE(ReadUserSettings().MemberViewOk);
    ASSERT_TRUE(QFile::exists(ini));
    EXPECT_TRUE(QSettings(ini, QSettings::IniFormat).allKeys().isEmpty());
}
