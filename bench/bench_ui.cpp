// The viewer's windows under the offscreen platform: showing one listing,
// start-up to listing 1 of a full file, and a held Right arrow key.
// Goals: ShowListing <= 2 ms; start-up <= 400 ms; a held key keeps up with
// the keyboard's repeat (about 30 steps a second).
#include "ListingFileGenerator.h"
#include "WindowBench.h"

#include "MainForm.h"
#include "OpenDocument.h"
#include "ProgramWindows.h"
#include "UserSettings.h"
#include "UserSettingsStore.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kovra;

namespace {

QTemporaryDir* g_dir = nullptr;
QString g_file; // a 1,001-listing export file

void Settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
}

// One listing after another, so every call puts new texts into the boxes.
void BM_ShowListing(benchmark::State& state)
{
    services::TUserSettings settings;
    TOpenDocument document;
    TMainForm form(settings, document, g_file);
    form.show();
    Settle();
    const int count = document.Document()->ListingCount;
    int n = 1;
    for (auto _ : state) {
        n = n % count + 1;
        form.ShowListing(n);
    }
    Settle();
}
BENCHMARK(BM_ShowListing)->Unit(benchmark::kMicrosecond);

// The program's start: all windows created, the file loaded, listing 1 on
// show and painted.
void BM_StartupToListingOne(benchmark::State& state)
{
    for (auto _ : state) {
        ProgramWindows w = CreateProgramWindows(g_file);
        w.MainForm->show();
        w.MainForm->repaint();
        Settle();
        state.PauseTiming();
        if (w.Document->Document()->ListingCount != 1001)
            state.SkipWithError("the file did not load");
        w.MainForm.reset();
        Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToListingOne)->Unit(benchmark::kMillisecond)->Iterations(10);

// Keyboard repeat: each Right arrow is followed by the paint the platform
// would do before the next repeat arrives.
void BM_HeldRightArrowStep(benchmark::State& state)
{
    services::TUserSettings settings;
    TOpenDocument document;
    TMainForm form(settings, document, g_file);
    form.show();
    Settle();
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    auto* number = form.findChild<QLineEdit*>(QStringLiteral("DataNumEdit"));
    const int count = document.Document()->ListingCount;
    for (auto _ : state) {
        if (number->text().toInt() == count) {
            state.PauseTiming();
            form.TopDataViewBtnClick();
            Settle();
            state.ResumeTiming();
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(target, &press);
        form.repaint();
        Settle();
    }
}
BENCHMARK(BM_HeldRightArrowStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    bench::WindowBench run(argc, argv);
    g_dir = &run.dir;
    // The files the windows load are imported into an archive of the run's own.
    qputenv("XDG_DATA_HOME", run.dir.path().toUtf8());
    g_file = run.Write(QStringLiteral("listings.txt"), bench::GenerateListingFile(1001));
    if (g_file.isEmpty())
        return 1;
    return run.Run(argc, argv);
}
