// The change view over two 100,000-listing files a day apart, under the
// offscreen platform: the older file is picked while the browser lists the
// newer one; it loads, the two are compared, the browser's columns and
// counts follow and a quick filter is chosen.
//
// Goal: the window never stalls longer than 100 ms meanwhile ("stall_ms":
// the longest gap between two turns of the event loop).
#include "ListingFileGenerator.h"
#include "WindowBench.h"

#include "ChangeView.h"
#include "ListingBrowser.h"
#include "OpenDocument.h"
#include "ProgramWindows.h"
#include "UserSettings.h"
#include "UserSettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

using namespace kovra;

namespace {

QString g_older;
TOpenDocument* g_document = nullptr;
services::TUserSettings g_settings;

void BM_ChangeViewLongestStall(benchmark::State& state)
{
    qint64 longest = 0;
    for (auto _ : state) {
        TChangeView changes(*g_document);
        TListingBrowser browser(*g_document, g_settings);
        browser.AttachChanges(&changes);
        browser.show();
        browser.WaitIdle();
        QApplication::processEvents();

        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        auto turn = [&] {
            QApplication::processEvents();
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        };
        changes.CompareWith(g_older, &browser);
        do
            turn();
        while (changes.Busy() || browser.Busy());
        browser.CmbChange->setCurrentIndex(2); // 値下げ
        turn();
        browser.CmbChange->setCurrentIndex(5); // 消滅
        turn();
        browser.CmbChange->setCurrentIndex(0);
        turn();
        state.counters["open_ms"] = static_cast<double>(clock.elapsed());
    }
    state.counters["stall_ms"] = static_cast<double>(longest);
}
BENCHMARK(BM_ChangeViewLongestStall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv);
    const std::string older = bench::GenerateListingFile(100000);
    g_older = run.Write(QStringLiteral("older.txt"), older);
    if (g_older.isEmpty())
        return 1;
    TOpenDocument document;
    auto newer = std::make_shared<TListingDocument>();
    LoadListingBytes(*newer, bench::GenerateNextDay(older), "newer");
    document.Slot().Replace(std::move(newer));
    g_document = &document;
    return run.Run(argc, argv);
}
