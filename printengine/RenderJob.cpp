#include "RenderJob.h"

#include "FileIO.h"
#include "Messages.h"

#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace dorvex {

namespace {

class DeviceTarget : public SheetTarget {
public:
    DeviceTarget(TEngineJob& job, QPagedPaintDevice& device, Canvas& canvas, double sx, double sy,
                 const DeviceJobHooks& hooks)
        : job_(job), device_(device), canvas_(canvas), sx_(sx), sy_(sy), hooks_(hooks) {}
    bool drawPage(PrintFile& file) override { return DrawPage(job_, file, &canvas_, 10, sx_, sy_); }
    void newSheet(int n) override
    {
        device_.newPage();
        if (hooks_.sheetStarted)
            hooks_.sheetStarted(n);
    }
    bool cancelled() override { return hooks_.cancelled && hooks_.cancelled(); }

private:
    TEngineJob& job_;
    QPagedPaintDevice& device_;
    Canvas& canvas_;
    double sx_, sy_;
    const DeviceJobHooks& hooks_;
};

QPageSize PageSizeForCode(const TEngineJob& job, int code)
{
    if (code == 256 && job.CustomPaperWidth > 0 && job.CustomPaperHeight > 0)
        return QPageSize(QSizeF(job.CustomPaperWidth / 10.0, job.CustomPaperHeight / 10.0), QPageSize::Millimeter);
    QPageSize::PageSizeId id = QPageSize::id(code);
    return QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
}

} // namespace

std::vector<PagePair> PrintOnDevice(QPagedPaintDevice& device, QPainter& painter, double dpiX, double dpiY,
                                    TEngineJob& job, const PrintWalkOptions& options, const DeviceJobHooks& hooks)
{
    Canvas canvas(&painter, true);
    DeviceTarget target(job, device, canvas, dpiX / 254.0, dpiY / 254.0, hooks);
    if (hooks.sheetStarted)
        hooks.sheetStarted(1);
    return RunPrintWalk(job.formatOrNull(), job.dataFile, options, target);
}

int PreviewPixels(double lengthMm, int zoomTenths, double ppi)
{
    return int(RoundHalfEven(ppi * lengthMm / 25.4 * (zoomTenths * 0.1)));
}

PagePair PaintPreviewPage(QPainter& painter, Canvas& canvas, const QSize& area, TEngineJob& job, int page,
                          int zoomTenths, double ppi)
{
    painter.resetTransform();
    painter.fillRect(QRect(QPoint(0, 0), area), Qt::white);
    QPen frame(Qt::blue);
    frame.setStyle(Qt::DotLine);
    frame.setWidth(0);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, area.width() - 1, area.height() - 1));
    canvas.setPainter(&painter);
    canvas.setBrushColour(Qt::white);
    canvas.setBrushStyle(0);
    canvas.penStyle = 0;
    canvas.penColour = Qt::black;

    const double scale = ppi / 254.0;
    PagePair pair = SeekPreviewPage(job.formatOrNull(), job.dataFile, page);
    if (pair.formatPage)
        DrawPage(job, job.formatFile, &canvas, zoomTenths, scale, scale);
    if (pair.dataPage)
        DrawPage(job, job.dataFile, &canvas, zoomTenths, scale, scale);
    return pair;
}

JobOutcome RunPrintJob(TEngineJob& job, JobPrinter& printer, QPainter& painter, const JobRange& range,
                       const DeviceJobHooks& hooks, std::vector<PagePair>* sheets)
{
    ReadFormatSetup(job, false);

    const int code = printer.paperCode();
    int w = 0, h = 0;
    PaperSizeFromCode(job, code, w, h);
    if (code == 256 && job.PaperState == 1)
        printer.setUserSize(job.CustomPaperHeight, job.CustomPaperWidth);
    else
        printer.clearUserSize();
    ComputeJobGeometry(job, code, printer.landscape(), printer.horzSizeMm(), printer.vertSizeMm());

    PrintWalkOptions walk;
    walk.printForm = job.PrintFormatPages;
    walk.rangeGiven = range.given;
    walk.fromPage = range.from;
    walk.pagesLeft = range.given ? range.to - range.from + 1 : range.highest;

    printer.beforeDocument();
    const double dpiX = printer.dpiX(), dpiY = printer.dpiY();
    if (!painter.begin(&printer.device()))
        return JobOutcome::CannotBegin;
    bool cancelled = false;
    DeviceJobHooks h2 = hooks;
    h2.cancelled = [&]() { return cancelled = hooks.cancelled && hooks.cancelled(); };
    std::vector<PagePair> done = PrintOnDevice(printer.device(), painter, dpiX, dpiY, job, walk, h2);
    if (sheets)
        *sheets = std::move(done);
    return cancelled ? JobOutcome::Cancelled : JobOutcome::Printed;
}

namespace {

// `kovra render --pdf`: a PDF writer as the job's printer; the page is the
// paper, with no unprintable border.
class PdfJobPrinter : public JobPrinter {
public:
    PdfJobPrinter(const TEngineJob& job, QPdfWriter& writer, int code, bool landscape)
        : writer_(writer), code_(code), landscape_(landscape)
    {
        writer_.setPageLayout(QPageLayout(PageSizeForCode(job, code), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
    }
    int paperCode() override { return code_; }
    void setUserSize(int length, int width) override
    {
        if (length > 0 && width > 0)
            writer_.setPageSize(QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter));
    }
    void clearUserSize() override {}
    bool landscape() override { return landscape_; }
    int horzSizeMm() override { return int(std::floor(writer_.pageLayout().paintRect(QPageLayout::Millimeter).width() + 1e-6)); }
    int vertSizeMm() override { return int(std::floor(writer_.pageLayout().paintRect(QPageLayout::Millimeter).height() + 1e-6)); }
    double dpiX() override { return writer_.logicalDpiX(); }
    double dpiY() override { return writer_.logicalDpiY(); }
    QPagedPaintDevice& device() override { return writer_; }

private:
    QPdfWriter& writer_;
    int code_;
    bool landscape_;
};

} // namespace

namespace {

// The output files of the command-line jobs go through the program's safe
// save: a temporary file beside the target, renamed over it only when
// complete, keeping the target's permission bits and writing through a
// symbolic link.  A full disk leaves no truncated PDF or page behind.
class SafeSaveDevice : public QIODevice {
public:
    SafeSaveDevice(const std::string& path, const kovra::fileio::JobInputs& inputs)
        : file_(path, kovra::fileio::Durability::SyncedToDisk, &inputs)
    {
    }
    // False, after its message, when the file cannot be made or is one of
    // the job's inputs.
    bool begin()
    {
        if (file_.open() && QIODevice::open(QIODevice::WriteOnly))
            return true;
        Say(Tone::Error, file_.refusedAsInput() ? msg::OutputIsInput(file_.target()) : msg::FileCannotCreate(file_.target()));
        return false;
    }
    bool commit()
    {
        QIODevice::close();
        return file_.commit();
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override
    {
        return file_.write(std::string_view(data, std::size_t(n))) ? n : -1;
    }

private:
    kovra::fileio::SafeSaveFile file_;
};

// The largest preview page image made: four bytes a pixel, so an A4 page
// at 600 dpi and zoom 2.0 (about 560 MB) fits and a mistyped --dpi does
// not make the system swap.
constexpr qint64 kMaxPageImageBytes = 1ll << 30;

} // namespace

bool RenderJobToPdf(const std::string& formatPath, const std::string& dataPath, const std::string& pdfPath,
                    const RenderOptions& o, int* sheetCount, const kovra::fileio::JobInputs& moreInputs)
{
    TEngineJob job(formatPath, dataPath); // no caller margins
    job.PrintFormatPages = true;
    // Files first, so a missing one leaves no empty PDF behind.
    if (!job.openFiles())
        return false;
    kovra::fileio::JobInputs inputs(job.inputFiles());
    inputs.add(moreInputs);
    SafeSaveDevice out(pdfPath, inputs);
    if (!out.begin())
        return false;
    std::vector<PagePair> sheets;
    JobOutcome outcome;
    {
        QPdfWriter writer(&out);
        writer.setCreator(QStringLiteral("Dorvex32"));
        writer.setResolution(o.dpi > 0 ? o.dpi : 600);
        PdfJobPrinter printer(job, writer, o.paperCode, o.landscape);
        JobRange range;
        range.highest = CountPagesOf(job.dataFile);
        QPainter painter;
        outcome = RunPrintJob(job, printer, painter, range, {}, &sheets);
        if (painter.isActive())
            painter.end();
    }
    if (outcome != JobOutcome::Printed || !out.commit()) {
        Say(Tone::Error, msg::FileCannotCreate(pdfPath));
        return false;
    }
    if (sheetCount)
        *sheetCount = int(sheets.size());
    return true;
}

bool RenderPreviewToPng(const std::string& formatPath, const std::string& dataPath, const std::string& dir,
                        const RenderOptions& o, int* pageCount)
{
    TEngineJob job(formatPath, dataPath); // no caller margins
    if (!job.openFiles())
        return false;
    ReadFormatSetup(job, true);
    CountPreviewPages(job);

    QPageSize pageSize = PageSizeForCode(job, o.paperCode);
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    int horz = int(std::floor(mm.width() + 1e-6)), vert = int(std::floor(mm.height() + 1e-6));
    if (o.landscape)
        std::swap(horz, vert);
    ComputeJobGeometry(job, o.paperCode, o.landscape, horz, vert);

    const int zoom = std::clamp(o.zoom, 3, 20);
    const double ppi = o.dpi > 0 ? o.dpi : 96;
    const QSize area(PreviewPixels(horz, zoom, ppi) + 2, PreviewPixels(vert, zoom, ppi) + 2);
    if (!QDir().mkpath(QString::fromStdString(dir))) {
        Say(Tone::Error, msg::FileCannotCreate(dir));
        return false;
    }
    if (area.width() <= 0 || area.height() <= 0 || qint64(area.width()) * area.height() * 4 > kMaxPageImageBytes) {
        Say(Tone::Error, msg::PageImageTooLarge(area.width(), area.height()));
        return false;
    }
    const kovra::fileio::JobInputs inputs(job.inputFiles());
    Canvas canvas;
    QByteArray png;
    for (int page = 1; page <= job.PageTotal; ++page) {
        QImage image(area, QImage::Format_RGB32);
        if (image.isNull()) { // the memory was not there
            Say(Tone::Error, msg::PageImageTooLarge(area.width(), area.height()));
            return false;
        }
        image.setDotsPerMeterX(int(std::lround(ppi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(ppi / 0.0254)));
        QPainter painter(&image);
        PaintPreviewPage(painter, canvas, area, job, page, zoom, ppi);
        painter.end();
        const std::string file = dir + "/page-" + std::to_string(page) + ".png";
        png.clear();
        QBuffer encoded(&png);
        encoded.open(QIODevice::WriteOnly);
        SafeSaveDevice out(file, inputs);
        if (!out.begin())
            return false;
        if (!image.save(&encoded, "PNG") || out.write(png) != png.size() || !out.commit()) {
            Say(Tone::Error, msg::FileCannotCreate(file));
            return false;
        }
    }
    if (pageCount)
        *pageCount = job.PageTotal;
    return true;
}

} // namespace dorvex
