// The viewer's long commands on a 100,000-listing file under the offscreen
// platform: loading, the listing browser's CSV and XLSX export, the
// member-stripped save and the report of all listings (up to the engine).
// Each runs off the GUI thread: the figure is the longest gap between two
// ticks of a GUI timer while the command runs (stall_ms), beside the
// command's whole time (total_ms, what the window stood still for when the
// work ran on the GUI thread).  Goal: stall_ms <= 100.
#include "BenchPrompter.h"
#include "ListingFileGenerator.h"
#include "WindowBench.h"

#include "ListingBrowser.h"
#include "MainForm.h"
#include "OpenDocument.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "UserSettings.h"
#include "UserSettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

using namespace kovra;

namespace {

QTemporaryDir* g_dir = nullptr;
QString g_file; // 100,000 listings

// Runs `command` with a GUI timer ticking every 2 ms; returns the longest
// gap between two ticks (or between the start or the end and a tick).
qint64 LongestStall(const std::function<void()>& command, qint64& total)
{
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(2);
    clock.start();
    command();
    total = clock.elapsed();
    return std::max(longest, total - last);
}

struct Windows {
    services::TUserSettings settings;
    TOpenDocument document;
    TMainForm form{settings, document};
    Windows()
    {
        form.show();
        QApplication::processEvents();
    }
};

void Report(benchmark::State& state, qint64 stall, qint64 total)
{
    state.counters["stall_ms"] = static_cast<double>(stall);
    state.counters["total_ms"] = static_cast<double>(total);
}

void BM_LoadStall(benchmark::State& state)
{
    bench::BenchPrompter prompter;
    qint64 stall = 0, total = 0;
    for (auto _ : state) {
        Windows w;
        stall = LongestStall([&] { w.form.LoadFile(g_file); }, total);
        if (w.document.Document()->ListingCount != 100000)
            state.SkipWithError("not loaded");
    }
    Report(state, stall, total);
}
BENCHMARK(BM_LoadStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_ExportStall(benchmark::State& state)
{
    bench::BenchPrompter prompter;
    const QString target = g_dir->filePath(state.range(0) ? QStringLiteral("out.xlsx") : QStringLiteral("out.csv"));
    qint64 stall = 0, total = 0;
    for (auto _ : state) {
        Windows w;
        w.form.LoadFile(g_file);
        TListingBrowser* browser = w.form.ListingBrowser();
        browser->show();
        while (browser->Busy() || !browser->Found()) {
            browser->WaitIdle();
            QApplication::processEvents();
        }
        browser->SetExportFileChooser([&] { return target; });
        stall = LongestStall([&] { browser->ExportBtnClick(); }, total);
        browser->close();
    }
    if (QFile(target).size() < 1000000)
        state.SkipWithError("not written");
    Report(state, stall, total);
}
BENCHMARK(BM_ExportStall)->Arg(0)->Arg(1)->ArgName("xlsx")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_StrippedSaveStall(benchmark::State& state)
{
    bench::BenchPrompter prompter;
    const QString target = g_dir->filePath(QStringLiteral("out.kvd"));
    qint64 stall = 0, total = 0;
    for (auto _ : state) {
        Windows w;
        w.form.LoadFile(g_file);
        w.form.SetSaveFileChooser([&] { return target; });
        stall = LongestStall([&] { w.form.SaveMemberDelClick(); }, total);
    }
    if (QFile(target).size() < 1000000)
        state.SkipWithError("not written");
    Report(state, stall, total);
}
BENCHMARK(BM_StrippedSaveStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_ReportAllStall(benchmark::State& state)
{
    bench::BenchPrompter prompter;
    qint64 stall = 0, total = 0;
    for (auto _ : state) {
        Windows w;
        w.form.LoadFile(g_file);
        const ReportContext context{w.document.Slot(), w.settings, [] { return 1; }, [] { return std::nullopt; },
                                    ReportEngine{[] { return true; }, [] {}}};
        stall = LongestStall([&] { RunReport(&w.form, true, ReportRange::All, context); }, total);
    }
    Report(state, stall, total);
}
BENCHMARK(BM_ReportAllStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv);
    g_dir = &run.dir;
    g_file = run.Write(QStringLiteral("big.txt"), bench::GenerateListingFile(100000));
    if (g_file.isEmpty())
        return 1;
    return run.Run(argc, argv);
}
