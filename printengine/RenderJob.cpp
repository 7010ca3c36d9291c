#include "RenderJob.h"

#include "EngineState.h"
#include "Messages.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace dorvex {

bool JobFiles::open()
{
    TEngineState& e = Engine();
    hasFormat = false;
    if (!e.FormatFileName.empty()) {
        if (!OpenIfExists(format, e.FormatFileName))
            return false;
        format.open();
        hasFormat = true;
    }
    if (e.DataFileName.empty()) {
        ShowMessage(MessageKind::Error, kNoDataFileMessage);
        format.close();
        return false;
    }
    if (!OpenIfExists(data, e.DataFileName)) {
        format.close();
        return false;
    }
    data.open();
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

bool RenderJobToPdf(const std::string& formatPath, const std::string& dataPath, const std::string& pdfPath,
                    const RenderOptions& o, int* sheetCount)
{
    TEngineState& e = Engine();
    BeginJobMessages();
    e.FormatFileName = formatPath;
    e.DataFileName = dataPath;
    e.CallerTopMargin = e.CallerLeftMargin = 0;
    e.PrintFormatPages = true;

    JobFiles files;
    if (!files.open())
        return false;
    ReadFormatSetup(files.formatOrNull(), false);

    // The PDF page is the paper, with no unprintable border.
    QPageSize pageSize = PageSizeForCode(o.paperCode);
    const QSizeF mm = pageSize.size(QPageSize::Millimeter);
    int horz = int(std::floor(mm.width() + 1e-6)), vert = int(std::floor(mm.height() + 1e-6));
    if (o.landscape)
        std::swap(horz, vert);
    ComputeJobGeometry(o.paperCode, o.landscape, horz, vert);

    const QString qpath = QString::fromStdString(pdfPath);
    QSaveFile out(qpath);
    if (!out.open(QIODevice::WriteOnly)) {
        ShowMessage(MessageKind::Error, "ファイル " + pdfPath + " を作成できません");
        return false;
    }
    const int dpi = o.dpi > 0 ? o.dpi : 600;
    std::vector<PagePair> sheets;
    {
        QPdfWriter writer(&out);
        writer.setCreator(QStringLiteral("Dorvex32"));
        writer.setResolution(dpi);
        writer.setPageLayout(QPageLayout(pageSize, o.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer)) {
            ShowMessage(MessageKind::Error, "ファイル " + pdfPath + " を作成できません");
            return false;
        }
        PrintWalkOptions walk;
        walk.printForm = true;
        walk.pagesLeft = CountPagesOf(files.data);
        sheets = PrintOnDevice(writer, painter, writer.logicalDpiX(), writer.logicalDpiY(), files, walk);
        painter.end();
    }
    if (!out.commit()) {
        ShowMessage(MessageKind::Error, "ファイル " + pdfPath + " を作成できません");
        return false;
    }
    if (sheetCount)
        *sheetCount = int(sheets.size());
    return true;
}

bool RenderPreviewToPng(const std::string& formatPath, const std::string& dataPath, const std::string& dir,
                        const RenderOptions& o, int* pageCount)
{
    TEngineState& e = Engine();
    BeginJobMessages();
    e.FormatFileName = formatPath;
    e.DataFileName = dataPath;
    e.CallerTopMargin = e.CallerLeftMargin = 0;

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
        ShowMessage(MessageKind::Error, "ファイル " + dir + " を作成できません");
        return false;
    }
    Canvas canvas;
    for (int page = 1; page <= e.PageTotal; ++page) {
        QImage image(area, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(std::lround(ppi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(ppi / 0.0254)));
        QPainter painter(&image);
        PaintPreviewPage(painter, canvas, area, files.formatOrNull(), files.data, page, zoom, ppi);
        painter.end();
        const std::string file = dir + "/page-" + std::to_string(page) + ".png";
        if (!image.save(QString::fromStdString(file), "PNG")) {
            ShowMessage(MessageKind::Error, "ファイル " + file + " を作成できません");
            return false;
        }
    }
    if (pageCount)
        *pageCount = e.PageTotal;
    return true;
}

} // namespace dorvex
