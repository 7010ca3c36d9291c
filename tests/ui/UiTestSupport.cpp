#include "UiTestSupport.h"

#include "ProgramWindows.h"
#include "ShippedFiles.h"
#include "UserSettingsStore.h"

#include "Cp932Codec.h"

#include <QFile>
#include <QSettings>

namespace kovra::testing {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new QApplication(argc, argv);
        SetUpApplication();
        return a;
    }();
    return *app;
}

Columns SaleListing(int n)
{
    const std::string num = std::to_string(n);
    return {
        {1, "\"K-" + num + "\""}, {2, "160401"}, {3, "1"}, {4, "1"}, {5, "1"},
        {6, std::to_string(1000 + n)}, {7, std::to_string(n * 10 + 5)},
        {15, "東京都千代田区"}, {16, "丸の内" + num + "丁目"}, {17, "山手線東京駅"}, {19, "5"},
        {26, "5"}, {27, "4." + num}, {32, "3"}, {33, "6." + num}, {87, "1"}, {88, "8." + num},
        {89, "7"}, {90, "9." + num},
        {43, "コヴラ不動産" + num}, {44, "03-0000-000" + num}, {45, "日当たり良好"},
        {86, "agent" + num + "@example.com"},
    };
}

static std::string LineOf(const Columns& cols)
{
    std::string line = "1";
    const int last = std::max(101, cols.empty() ? 0 : cols.rbegin()->first);
    for (int i = 1; i <= last; ++i) {
        line += ',';
        if (auto it = cols.find(i); it != cols.end())
            line += it->second;
    }
    return line;
}

QString WriteRawFile(const QString& dir, const QString& name, const std::string& utf8Text)
{
    const QString path = dir + u'/' + name;
    const std::string bytes = cp932::fromUtf8(utf8Text);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

QString WriteListingFile(const QString& dir, const QString& name, const std::vector<Columns>& listings, bool header)
{
    std::string text;
    if (header)
        text += "3,0,0,0,0,160501\r\n";
    for (const Columns& c : listings)
        text += LineOf(c) + "\r\n";
    return WriteRawFile(dir, name, text);
}

void UiTest::SetUp()
{
    App();
    ASSERT_TRUE(tmp_.isValid());
    services::RedirectUserSettings(SettingsFile().toStdString());
    // The archive the windows import into lives in the test's own folder.
    qputenv("XDG_DATA_HOME", tmp_.path().toUtf8());
    services::SetProgramFolder(KOVRA_SOURCE_DIR "/data");
    // After App(), which installs the viewer's windows.
    prompter_.emplace();
    prompter_->answer = [this](const Question& q) {
        messages_.push_back({q.tone, QString::fromStdString(q.text), q.choices, q.owner});
        return Answer::Ok;
    };
}

void UiTest::TearDown()
{
    prompter_.reset();
    // The settings stay redirected: a window a test forgot must never
    // write into the real user's store.
    services::SetProgramFolder({});
}

std::vector<QUrl> UiTest::Opened() const
{
    std::vector<QUrl> urls;
    for (const std::string& u : prompter_->opened)
        urls.push_back(QUrl::fromEncoded(QByteArray::fromStdString(u)));
    return urls;
}

QString UiTest::SettingsFile() const { return tmp_.filePath(QStringLiteral("settings.ini")); }

void UiTest::StoreSetting(const QString& section, const QString& key, const QString& value)
{
    QSettings s(SettingsFile(), QSettings::IniFormat);
    s.setValue(section + u'/' + key, value);
    s.sync();
}

} // namespace kovra::testing
