// The viewer on the office's server through a restart of the server.
#include "UiTestSupport.h"

#include "ArchiveLink.h"
#include "HistorySheet.h"
#include "MainForm.h"
#include "PgTestDatabase.h"
#include "ProgramWindows.h"
#include "TestServer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>

namespace kovra::testing {
namespace {

class ArchiveServerViewTest : public UiTest {
protected:
    // A server of its own (stopping the shared one would fail other tests)
    // that keeps what it committed through a crash, as an office's does.
    bool Server(const char* action)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KOVRA_PG_DURABLE"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("sh"), {QStringLiteral(KOVRA_SERVERS_DIR "/postgres.sh"), QString::fromLatin1(action),
                                      Path(QStringLiteral("own.state"))});
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    void TearDown() override
    {
        Server("stop");
        UiTest::TearDown();
    }
};

// Guards that the viewer works on while the server is down and after: the
// 履歴 tab then says the server cannot be reached (never that the listing
// is not in the archive yet), and once the server is back the same window
// reads and writes the archive again.
TEST_F(ArchiveServerViewTest, WorksOnThroughAServerRestart)
{
    Server("start");
    const TestServer server = ReadTestServer(Path(QStringLiteral("own.state")).toLocal8Bit().constData());
    KOVRA_REQUIRE_SERVER(server);
    StoreSetting(QStringLiteral("FArchive"), QStringLiteral("Location"),
                 QString::fromStdString(FreshPgDatabase(server.address, "viewer_restart")));
    const QString file =
        WriteListingFile(tmp_.path(), QStringLiteral("restart.txt"), {SaleListing(1), SaleListing(2), SaleListing(3)});
    ProgramWindows w = CreateProgramWindows(file); // imported as it loads
    w.MainForm->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(w.MainForm->HistorySheet);

    struct Step {
        const char* server; // what is done to the server first, or null
        int listing;
        const char* life;   // the start of what the 履歴 tab says
        bool noteBox;
    };
    const Step steps[] = {
        {nullptr, 1, "初回掲載 ", true},
        {"halt", 2, "サーバー ", false},
        {"resume", 3, "初回掲載 ", true},
    };
    for (const Step& s : steps) {
        if (s.server) {
            ASSERT_TRUE(Server(s.server)) << s.server;
        }
        w.MainForm->ShowListing(s.listing);
        w.Archive->WaitIdle();
        const QString life = w.MainForm->HistorySheet->LifeLbl->text();
        EXPECT_TRUE(life.startsWith(QString::fromUtf8(s.life))) << s.listing << " " << life.toStdString();
        EXPECT_EQ(life.contains(QStringLiteral("に接続できません")), !s.noteBox) << life.toStdString();
        EXPECT_EQ(w.MainForm->HistorySheet->NoteEdit->isEnabled(), s.noteBox) << s.listing;
    }
    // A note written after the restart is kept.
    w.MainForm->HistorySheet->NoteEdit->setText(QStringLiteral("売主に電話済み"));
    emit w.MainForm->HistorySheet->NoteEdit->returnPressed();
    w.Archive->WaitIdle();
    w.Archive->WaitIdle();
    EXPECT_TRUE(w.MainForm->HistorySheet->NotesView->toPlainText().contains(QStringLiteral("売主に電話済み")));
    EXPECT_TRUE(messages_.empty()) << messages_.front().text.toStdString();

    // Another viewer that only reads (no import as it loads) finds it too.
    StoreSetting(QStringLiteral("FArchive"), QStringLiteral("AutoImport"), QStringLiteral("0"));
    ProgramWindows reader = CreateProgramWindows(file);
    reader.MainForm->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(reader.MainForm->HistorySheet);
    reader.MainForm->ShowListing(3);
    reader.Archive->WaitIdle();
    EXPECT_TRUE(reader.MainForm->HistorySheet->NotesView->toPlainText().contains(QStringLiteral("売主に電話済み")));
}

} // namespace
} // namespace kovra::testing
