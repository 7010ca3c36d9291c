#include "RenderJob.h"

#include "EngineState.h"
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

bool JobFiles::open()
{
    TEngineState& e = Engine();
    hasFormat = false;
    if (!e.FormatFileName.empty()) {
        // A file that exists but cannot be read (a FIFO, a device, one too
        // large) stops the job as a missing one does, after its message.
        if (!OpenIfExists(format, e.FormatFileName) || !format.open()) {
            format.close();
            return false;
        }
        hasFormat = true;
    }
    if (e.DataFileName.empty()) {
        Say(Tone::Error, msg::kNoDataFile);
        format.close();
        return false;
    }
    if (!OpenIfExists(data, e.DataFileName) || !data.open()) {
        data.close();
        format.close();
        return false;
    }
    return true;
}

namespace {

class DeviceTarget : public SheetTarget {
public:
    DeviceTarget(QPagedPaintDevice& device, Canvas& canvas, double sx, double sy, const DeviceJobHooks& hooks)
        : device_(device), canvas_(canvas), sx_(sx), sy_(sy), hooks_(hooks) {}
    bool drawPage(PrintFile& file) override { return DrawPage(file, &canvas_, 10, sx_, sy_); }
    void newSheet(int n) override
    {
        device_.newPage();
        if (hooks_.sheetStarted)
            hooks_.sheetStarted(n);
    }
    bool cancelled() override { return hooks_.cancelled && hooks_.cancelled(); }

private:
    QPagedPaintDevice& device_;
    Canvas& canvas_;
    double sx_, sy_;
    const DeviceJobHooks& hooks_;
};

QPageSize PageSizeForCode(int code)
{
    const TEngineState& e = Engine();
    if (code == 256 && e.CustomPaperWidth > 0 && e.CustomPaperHeight > 0)
        return QPageSize(QSizeF(e.CustomPaperWidth / 10.0, e.CustomPaperHeight / 10.0), QPageSize::Millimeter);
    QPageSize::PageSizeId id = QPageSize::id(code);
    return QPageSize(id == QPageSize::Custom ? QPageSize::A4 : id);
}

} // namespace

std::vector<PagePair> PrintOnDevice(QPagedPaintDevice& device, QPainter& painter, double dpiX, double dpiY,
                                    JobFiles& files, const PrintWalkOptions& options, const DeviceJobHooks& hooks)
{
    Canvas canvas(&painter, true);
    DeviceTarget target(device, canvas, dpiX / 254.0, dpiY / 254.0, hooks);
    if (hooks.sheetStarted)
        hooks.sheetStarted(1);
    return RunPrintWalk(files.formatOrNull(), files.data, options, target);
}

int PreviewPixels(double lengthMm, int zoomTenths, double ppi)
{
    return int(RoundHalfEven(ppi * lengthMm / 25.4 * (zoomTenths * 0.1)));
}

PagePair PaintPreviewPage(QPainter& painter, Canvas& canvas, const QSize& area, PrintFile* format, PrintFile& data,
                          int page, int zoomTenths, double ppi)
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
    PagePair pair = SeekPreviewPage(format, data, page);
    if (pair.formatPage)
        DrawPage(*format, &canvas, zoomTenths, scale, scale);
    if (pair.dataPage)
        DrawPage(data, &canvas, zoomTenths, scale, scale);
    return pair;
}

JobOutcome RunPrintJob(JobPrinter& printer, QPainter& painter, const JobRange& range, const DeviceJobHooks& hooks,
                       std::vector<PagePair>* sheets)
{
    TEngineState& e = Engine();
    JobFiles files;
    if (!files.open())
        return JobOutcome::StartFailed;
    ReadFormatSetup(files.formatOrNull(), false);

    const int code = printer.paperCode();
    int w = 0, h = 0;
    PaperSizeFromCode(code, w, h);
    if (code == 256 && e.PaperState == 1)
        printer.setUserSize(e.CustomPaperHeight, e.CustomPaperWidth);
    else
        printer.clearUserSize();
    ComputeJobGeometry(code, printer.landscape(), printer.horzSizeMm(), printer.vertSizeMm());

    PrintWalkOptions walk;
    walk.printForm = e.PrintFormatPages;
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
    std::vector<PagePair> done = PrintOnDevice(printer.device(), painter, dpiX, dpiY, files, walk, h2);
    if (sheets)
        *sheets = std::move(done);
    return cancelled ? JobOutcome::Cancelled : JobOutcome::Printed;
}

namespace {

// `kovra render --pdf`: a PDF writer as the job's printer; the page is the
// paper, with no unprintable border.
class PdfJobPrinter : public JobPrinter {
public:
    PdfJobPrinter(QPdfWriter& writer, int code, bool landscape)
        : writer_(writer), code_(code), landscape_(landscape)
    {
        writer_.setPageLayout(QPageLayout(PageSizeForCode(code), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
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
    explicit SafeSaveDevice(const std::string& path) : file_(path) {}
    bool begin() { return file_.open() && QIODevice::open(QIODevice::WriteOnly); }
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

// A job of the command line: its files, no caller margins, fresh messages.
TEngineState& BeginCommandLineJob(const std::string& formatPath, const std::string& dataPath)
{
    TEngineState& e = Engine();
    BeginJobMessages();
    e.FormatFileName = formatPath;
    e.DataFileName = dataPath;
    e.CallerTopMargin = e.CallerLeftMargin = 0;
    return e;
}

} // namespace

bool RenderJobToPdf(const std::string& formatPath, const std::string& dataPath, const std::string& pdfPath,
                    const RenderOptions& o, int* sheetCount)
{
    TEngineState& e = BeginCommandLineJob(formatPath, dataPath);
    e.PrintFormatPages = true;
    // Files first, so a missing one leaves no empty PDF behind.
    {
        JobFiles probe;
        if (!probe.open())
            return false;
    }
    SafeSaveDevice out(pdfPath);
    if (!out.begin()) {
        Say(Tone::Error, msg::FileCannotCreate(pdfPath));
        return false;
    }
    std::vector<PagePair> sheets;
    JobOutcome outcome;
    {
        QPdfWriter writer(&out);
        writer.setCreator(QStringLiteral("Dorvex32"));
        writer.setResolution(o.dpi > 0 ? o.dpi : 600);
        PdfJobPrinter printer(writer, o.paperCode, o.landscape);
        JobRange range;
        range.highest = CountPages(dataPath);
        QPainter painter;
        outcome = RunPrintJob(printer, painter, range, {}, &sheets);
        if (painter.isActive())
            painter.end();
    }
    if (outcome != JobOutcome::Printed || !out.commit()) {
        if (outcome != JobOutcome::StartFailed)
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
    TEngineState& e = BeginCommandLineJob(formatPath, dataPath);

    JobFiles files;
    if (!files.open())
        return false;
    ReadFormatSetup(files.formatOrNull(), true);
    CountPreviewPages();

    QPageSize pageSize = PageSizeForCode(o.paperCode);
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    int horz = int(std::floor(mm.width() + 1e-6)), vert = int(std::floor(mm.height() + 1e-6));
    if (o.landscape)
        std::swap(horz, vert);
    ComputeJobGeometry(o.paperCode, o.landscape, horz, vert);

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
    Canvas canvas;
    QByteArray png;
    for (int page = 1; page <= e.PageTotal; ++page) {
        QImage image(area, QImage::Format_RGB32);
        if (image.isNull()) { // the memory was not there
            Say(Tone::Error, msg::PageImageTooLarge(area.width(), area.height()));
            return false;
        }
        image.setDotsPerMeterX(int(std::lround(ppi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(ppi / 0.0254)));
        QPainter painter(&image);
        PaintPreviewPage(painter, canvas, area, files.formatOrNull(), files.data, page, zoom, ppi);
        painter.end();
        const std::string file = dir + "/page-" + std::to_string(page) + ".png";
        png.clear();
        QBuffer encoded(&png);
        encoded.open(QIODevice::WriteOnly);
        SafeSaveDevice out(file);
        if (!image.save(&encoded, "PNG") || !out.begin() || out.write(png) != png.size() || !out.commit()) {
            Say(Tone::Error, msg::FileCannotCreate(file));
            return false;
        }
    }
    if (pageCount)
        *pageCount = e.PageTotal;
    return true;
}

} // namespace dorvex
