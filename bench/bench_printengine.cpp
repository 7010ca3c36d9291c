// The print engine's speed: one report page (the sample form of about 60
// items and a data page of 28 text items) drawn into a 96-dpi QImage at
// zoom 10, as the preview paints it (goal: 5 ms at most), and a 1,000-page
// PDF of that report through the print job's page walk (goal: 3 s at most),
// the preview window moving to the next page (goal: 16 ms at most), and
// the preview of a 1,001-page report scrolled by the mouse wheel (goal:
// 16 ms a frame at most).
#include "BenchPrompter.h"
#include "EngineJob.h"
#include "Imagedsp.h"
#include "Imageout.h"
#include "ListingFileGenerator.h"
#include "ListingDocument.h"
#include "Messages.h"
#include "RenderJob.h"
#include "ReportLayout.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <string>

namespace {

// Drives the preview window while it lives: once the window runs (its own
// event loop has started), `drive` pages through it and closes it.
class PreviewDriver final : public QObject {
public:
    explicit PreviewDriver(std::function<void(dorvex::TImageDispForm&)> drive) : drive_(std::move(drive))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* form = event->type() == QEvent::Show ? qobject_cast<dorvex::TImageDispForm*>(watched) : nullptr;
        if (form && !driven_) {
            driven_ = true;
            QTimer::singleShot(0, form, [this, form] { drive_(*form); });
        }
        return false;
    }

private:
    std::function<void(dorvex::TImageDispForm&)> drive_;
    bool driven_ = false;
};

std::string ReadSample(const char* name)
{
    QString dir = qEnvironmentVariable("KOVRA_SAMPLES");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/samples");
    QFile f(dir + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "sample %s not found in %s (set KOVRA_SAMPLES)\n", name, qPrintable(dir));
        std::exit(1);
    }
    const QByteArray b = f.readAll();
    return std::string(b.constData(), std::size_t(b.size()));
}

// The first page of the sample data: 28 text items.
std::string FirstDataPage()
{
    const std::string all = ReadSample("sample.dat");
    const std::size_t e = all.find("\r\nE\r\n");
    return e == std::string::npos ? all : all.substr(0, e + 2);
}

void BM_ReportPageToImage(benchmark::State& state)
{
    dorvex::TEngineJob job;
    job.formatFile.openBytes(ReadSample("sample.fom"));
    job.dataFile.openBytes(FirstDataPage());
    dorvex::ReadFormatSetup(job, false);
    dorvex::ComputeJobGeometry(job, 9, false, 210, 297);
    const double ppi = 96;
    const QSize area(dorvex::PreviewPixels(210, 10, ppi) + 2, dorvex::PreviewPixels(297, 10, ppi) + 2);
    QImage image(area, QImage::Format_RGB32);
    dorvex::Canvas canvas;
    int items = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        dorvex::PaintPreviewPage(painter, canvas, area, job, 1, 10, ppi);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
        ++items;
    }
    state.counters["pages/s"] = benchmark::Counter(items, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReportPageToImage)->Unit(benchmark::kMillisecond);

void BM_ThousandPagePdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string page = FirstDataPage();
    std::string data;
    for (int i = 0; i < 1000; ++i) {
        if (i)
            data += "E\r\n";
        data += page;
    }
    const std::string fom = dir.filePath(QStringLiteral("report.fom")).toStdString();
    const std::string dat = dir.filePath(QStringLiteral("report.dat")).toStdString();
    const std::string pdf = dir.filePath(QStringLiteral("report.pdf")).toStdString();
    for (auto [path, bytes] : {std::pair{fom, ReadSample("sample.fom")}, std::pair{dat, data}}) {
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(bytes.data(), qint64(bytes.size()));
    }
    int sheets = 0;
    for (auto _ : state) {
        dorvex::RenderOptions o;
        if (!dorvex::RenderJobToPdf(fom, dat, pdf, o, &sheets))
            state.SkipWithError("the PDF was not written");
    }
    state.counters["sheets"] = sheets;
    state.counters["MB"] = double(QFile(QString::fromStdString(pdf)).size()) / 1e6;
}
BENCHMARK(BM_ThousandPagePdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// Next page in the preview window: the page number moves and the sheet is
// redrawn at once from the files the window keeps open.
void BM_PreviewNextPage(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string page = FirstDataPage();
    std::string data;
    for (int i = 0; i < 50; ++i)
        data += (i ? "E\r\n" : "") + page;
    const std::string fom = dir.filePath(QStringLiteral("report.fom")).toStdString();
    const std::string dat = dir.filePath(QStringLiteral("report.dat")).toStdString();
    for (auto [path, bytes] : {std::pair{fom, ReadSample("sample.fom")}, std::pair{dat, data}}) {
        QFile f(QString::fromStdString(path));
        f.open(QIODevice::WriteOnly);
        f.write(bytes.data(), qint64(bytes.size()));
    }
    kovra::bench::BenchPrompter prompter;
    const PreviewDriver driver([&](dorvex::TImageDispForm& form) {
        form.resize(900, 1000);
        QCoreApplication::processEvents();
        for (auto _ : state) {
            if (form.Job().CurrentPage >= form.Job().PageTotal)
                form.Top_PageClick();
            form.DispNext();
        }
        form.CloseButtonClick();
    });
    dorvex::PrintImageDispUtf8("", fom, dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
}
BENCHMARK(BM_PreviewNextPage)->Unit(benchmark::kMillisecond);

// One frame of scrolling the preview of the report of 1,001 listings (the
// viewer's "all listings" preview): a wheel step moves the sheet 40 pixels
// and the window is painted again.  The last page is on show, so a reader
// that walked the data file from its start would pay for all of it.
void BM_PreviewScrollReport(benchmark::State& state)
{
    kovra::TListingDocument listings;
    if (!kovra::LoadListingBytes(listings, kovra::bench::GenerateListingFile(1001), "bench.txt").ok()) {
        state.SkipWithError("listing file did not load");
        return;
    }
    QTemporaryDir dir;
    kovra::ReportRequest request;
    request.allListings = true;
    request.profile = {"株式会社みどり台不動産", "222-0033", "神奈川県見本市港北区新横浜二丁目", "045-000-1234",
                       "045-000-1235", "info@midoridai.example.jp", "http://"};
    // The shipped form, from the source tree's data folder.
    request.formatFile =
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data/KvReport.FOM")).toStdString();
    request.dataFile = dir.filePath(QStringLiteral("KvReport.tmp")).toStdString();
    const kovra::ReportOutcome report = kovra::WriteReport(listings, request);
    if (!report.written || report.pages != 1001) {
        state.SkipWithError("the report's data file was not written");
        return;
    }
    int pageTotal = 0;
    const PreviewDriver driver([&](dorvex::TImageDispForm& form) {
        form.resize(900, 700);
        QCoreApplication::processEvents();
        form.Bottom_PageClick();
        pageTotal = form.Job().PageTotal;
        QScrollBar* bar = form.ImagePaintScrollBox->verticalScrollBar();
        int delta = -120; // towards the end of the page first
        for (auto _ : state) {
            if (bar->value() >= bar->maximum())
                delta = 120;
            else if (bar->value() <= bar->minimum())
                delta = -120;
            form.FormMouseWheel(delta);
            form.ImagePaintScrollBox->viewport()->repaint();
        }
        form.CloseButtonClick();
    });
    dorvex::PrintImageDispUtf8(kovra::kReportCaption, report.formatFile, report.dataFile, kovra::kReportPaperA4, 0, 0,
                               0, -1, -1, 0, 0, true, true);
    if (pageTotal != 1001)
        state.SkipWithError("the preview did not show 1,001 pages");
    state.counters["pages"] = pageTotal;
}
BENCHMARK(BM_PreviewScrollReport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#if defined(__GLIBC__)
    // As `kovra render` does: keep heap slack across the PDF's sheets.
    mallopt(M_TOP_PAD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    int qargc = 1;
    QApplication app(qargc, argv);
    // Messages go to stderr (the default prompter), never into a box.
    kovra::SetPrompter(&kovra::DefaultPrompter());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
