// Long work off the GUI thread: the progress window and its 中止, and what
// a stopped export, stripped save, report or load leaves behind.
#include "UiTestSupport.h"

#include "DocumentSlot.h"
#include "ListingExport.h"
#include "MemberStrip.h"
#include "ModalWindows.h"
#include "ProgressWindow.h"
#include "ReportLayout.h"
#include "WatchedLoad.h"
#include "WatchedRows.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <thread>

namespace kovra::testing {
namespace {

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

void WriteOld(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
}

class LongWorkTest : public UiTest {};

// Guards the progress window: a short piece of work shows nothing; a long
// one shows the window while the GUI thread goes on serving its timers, and
// 中止 reaches the work, which ends, and the call says it was stopped.
TEST_F(LongWorkTest, ProgressWindowServesTheWindowsAndStops)
{
    const struct {
        const char* what;
        bool longWork;
        bool finished;
    } cases[] = {{"short", false, true}, {"stopped", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool windowShown = false;
        ModalWindowWatcher watcher([&](QWidget& w) {
            if (auto* window = qobject_cast<QProgressDialog*>(&w)) {
                windowShown = true;
                EXPECT_EQ(window->findChild<QPushButton*>()->text(), QStringLiteral("中止"));
                window->findChild<QPushButton*>()->click();
            }
        });
        // The longest gap between the ticks of a GUI timer while the work runs.
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        tick.start(5);
        const bool finished = RunWithProgress(nullptr, QStringLiteral("作業中"), [&](WorkProgress& progress) {
            progress.SetTotal(10);
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(c.longWork ? 20 : 0);
            while (!progress.Stopped() && std::chrono::steady_clock::now() < end) {
                progress.Advance();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        EXPECT_EQ(finished, c.finished);
        EXPECT_EQ(windowShown, c.longWork);
        EXPECT_LT(clock.elapsed(), 10000) << "中止 ended the work";
        EXPECT_LT(longest, 1000) << "the GUI thread was served";
    }
}

// Guards each stoppable command's core: stopped, it leaves no file where
// there was none, the old file whole where there was one, and no temporary
// file beside it.
TEST_F(LongWorkTest, AStoppedRunLeavesNoFileAndTheOldOneWhole)
{
    std::vector<Columns> listings;
    for (int n = 1; n <= 50; ++n)
        listings.push_back(SaleListing(n));
    const QString source = WriteListingFile(tmp_.path(), QStringLiteral("src.txt"), listings);
    const std::shared_ptr<TListingDocument> document = LoadListingDocument(source.toStdString());
    ASSERT_EQ(document->ListingCount, 50);
    std::vector<int> all(50);
    for (int i = 0; i < 50; ++i)
        all[static_cast<std::size_t>(i)] = i;
    const QString out = tmp_.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    const auto exportWith = [&](search::SheetWriter write) {
        return [&, write](const std::string& path, WorkProgress& progress) {
            const search::ListingRows rows(document->ListingTable, all);
            return search::ExportSheet(search::WatchedRows(rows, progress), write, path, fileio::JobInputs{}).ok;
        };
    };
    const struct {
        const char* what;
        std::function<bool(const std::string& path, WorkProgress& progress)> run;
    } cases[] = {
        {"CSV export", exportWith(search::WriteCsv)},
#ifdef KOVRA_XLSX_EXPORT
        {"XLSX export", exportWith(search::WriteXlsx)},
#endif
        {"stripped save",
         [&](const std::string& path, WorkProgress& progress) {
             return SaveMemberStripped(source.toStdString(), path, &progress).ok;
         }},
        {"report of all listings",
         [&](const std::string& path, WorkProgress& progress) {
             ReportRequest request;
             request.allListings = true;
             request.dataFile = path;
             const ReportOutcome written = WriteReport(*document, request, &progress);
             EXPECT_TRUE(written.message.empty()) << "a stop says nothing";
             return written.written;
         }},
    };
    for (const auto& c : cases) {
        for (const bool oldFile : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (oldFile ? ", over an old file" : ", new file"));
            const QString target = out + QStringLiteral("/target");
            QFile::remove(target);
            if (oldFile)
                WriteOld(target);
            WorkProgress stopped;
            stopped.Stop();
            EXPECT_FALSE(c.run(target.toStdString(), stopped));
            EXPECT_EQ(Contents(target), oldFile ? QByteArray("old") : QByteArray("(none)"));
            EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), oldFile ? 1 : 0);
            WorkProgress running; // the same run, not stopped, writes the file
            EXPECT_TRUE(c.run(target.toStdString(), running));
            EXPECT_EQ(running.Permille(), 1000);
            EXPECT_NE(Contents(target), QByteArray("old"));
        }
    }

    // A stopped load leaves the document on show and says nothing.
    DocumentSlot slot;
    slot.Replace(document);
    const LoadOutcome loaded = slot.Load(source.toStdString(), nullptr, [](const auto& load) {
        WorkProgress progress;
        progress.Stop();
        load(progress);
        return false;
    });
    EXPECT_EQ(loaded.status, LoadOutcome::Status::CannotOpen);
    EXPECT_EQ(slot.Document(), document);
    EXPECT_TRUE(messages_.empty());
}

} // namespace
} // namespace kovra::testing
