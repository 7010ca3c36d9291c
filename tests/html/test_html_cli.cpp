// `kovra html` as scripts see it: exit status, messages, kept pages.
#include "HtmlTestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct CliResult {
    int status = -1;
    std::string err;
};

CliResult Kovra(const QStringList& args, const kovra::test::TempDir& home)
{
    QProcess p;
    // The settings store of the run is the test's own folder, never the user's.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.str()));
    env.insert("HOME", QString::fromStdString(home.str()));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KOVRA_BIN_DIR "/kovra"), QStringList{"html"} + args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError().toStdString()};
}

} // namespace

// Guards: the exit-status contract (0 done, 1 failed, 2 usage), kept pages overwritten without --yes.
TEST(KovraHtml, ExitStatusAndKeptPages)
{
    kovra::test::TempDir dir;
    const QString sample = KOVRA_SOURCE_DIR "/data/samples/sample.txt";
    const QString templ = KOVRA_SOURCE_DIR "/data/KvTemplate.html";
    const QString out = QString::fromStdString(dir.str()) + "/out";
    fs::create_directories(dir.path() / "out");
    kovra::test::WriteFile(dir.path() / "bad", "/*BukkennNum*/\r\n\r\n");

    EXPECT_EQ(Kovra({sample, "--template", templ}, dir).status, 2);
    EXPECT_EQ(Kovra({sample, "--template", templ, "--out", out, "--force"}, dir).status, 2);
    EXPECT_EQ(Kovra({sample, "--template", templ, "--out", out, "--fieldlist"}, dir).status, 2);

    const CliResult bad = Kovra({sample, "--template", templ, "--out", out, "--fieldlist",
                                 QString::fromStdString(dir.str()) + "/bad"}, dir);
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("FieldListにエラーがあります"), std::string::npos) << bad.err;
    EXPECT_TRUE(fs::is_empty(dir.path() / "out"));

    // The FieldList beside the program.
    ASSERT_EQ(Kovra({sample, "--template", templ, "--out", out}, dir).status, 0);
    const fs::path first = dir.path() / "out" / "21000100.html";
    ASSERT_TRUE(fs::exists(first));
    kovra::test::WriteFile(first, "mine");
    const CliResult kept = Kovra({sample, "--template", templ, "--out", out}, dir);
    EXPECT_EQ(kept.status, 0);
    EXPECT_NE(kept.err.find("21000100.html"), std::string::npos) << kept.err;
    EXPECT_EQ(kovra::test::ReadFile(first), "mine");
    EXPECT_EQ(Kovra({sample, "--template", templ, "--out", out, "--yes"}, dir).status, 0);
    EXPECT_NE(kovra::test::ReadFile(first), "mine");

    EXPECT_EQ(Kovra({sample, "--template", templ + ".gone", "--out", out}, dir).status, 1);
}
