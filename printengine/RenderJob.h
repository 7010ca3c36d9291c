// Jobs drawn onto a paged device (PDF writer or printer) and preview pages
// drawn into an image or a widget; the CLI, the print job and the preview
// window all come through here.
#pragma once

#include "FileIO.h"
#include "PageWalk.h"

#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace dorvex {

struct DeviceJobHooks {
    std::function<void(int sheetNumber)> sheetStarted; // also for sheet 1
    std::function<bool()> cancelled;
};

// Runs the print job's page walk on a device that the painter has already
// begun (the first sheet is open).  The job's files are open and its
// geometry (OriginX/OriginY) is computed.  `dpiX`/`dpiY`: the device
// resolution.
std::vector<PagePair> PrintOnDevice(QPagedPaintDevice& device, QPainter& painter, double dpiX, double dpiY,
                                    TEngineJob& job, const PrintWalkOptions& options, const DeviceJobHooks& hooks = {});

// The printer a job runs on, as the job sees it: its paper code and user
// size (Windows device-mode codes), orientation, printable size in whole mm
// and resolution.  The print job's QPrinter and the PDF writer of
// `kovra render` both come through here, so they cannot drift apart.
class JobPrinter {
public:
    virtual ~JobPrinter() = default;
    virtual int paperCode() = 0;
    virtual void setUserSize(int length, int width) = 0; // 0.1 mm
    virtual void clearUserSize() = 0;
    virtual bool landscape() = 0;
    virtual int horzSizeMm() = 0;
    virtual int vertSizeMm() = 0;
    virtual double dpiX() = 0;
    virtual double dpiY() = 0;
    virtual QPagedPaintDevice& device() = 0;
    virtual void beforeDocument() {}
};

struct JobRange {
    bool given = false; // the print dialog's from/to range
    int from = 1;
    int to = 1;
    int highest = 1;    // the dialog's highest page (the data file's pages)
};

// StartFailed: the job's files could not be opened (said), nothing printed.
enum class JobOutcome { Printed, Cancelled, StartFailed, CannotBegin };

// The print job of `job`, whose files are open (openFiles), to its last
// sheet: margin and paper lines read, the paper and the origin worked out,
// the document begun on `painter`, the page walk run.  After
// Printed/Cancelled the painter is still active: the caller ends (or aborts)
// the document.
JobOutcome RunPrintJob(TEngineJob& job, JobPrinter& printer, QPainter& painter, const JobRange& range,
                       const DeviceJobHooks& hooks, std::vector<PagePair>* sheets = nullptr);

// Size in pixels of the preview's drawing area (the printable area + 2).
int PreviewPixels(double lengthMm, int zoomTenths, double ppi);

// Paints preview page `page` of the job's open files as the preview window
// does: a white area with the dotted blue frame of the printable area, then
// the format page and the data page over it.  `canvas` carries the surface
// state between pages.
PagePair PaintPreviewPage(QPainter& painter, Canvas& canvas, const QSize& area, TEngineJob& job, int page,
                          int zoomTenths, double ppi);

struct RenderOptions {
    int paperCode = 9;
    bool landscape = false;
    int dpi = 0;   // 0: 600 for PDF, 96 for PNG
    int zoom = 10; // preview zoom in tenths
};

// The print job with the form printed, onto a PDF (written whole or not at
// all), as a job of its own.  Returns false after a message.  The PDF is
// never one of the job's inputs: its format and data files, their images,
// and `moreInputs` (files the data file was made from).
bool RenderJobToPdf(const std::string& formatPath, const std::string& dataPath, const std::string& pdfPath,
                    const RenderOptions& options, int* sheetCount = nullptr,
                    const kovra::fileio::JobInputs& moreInputs = {});
// Every preview page as DIR/page-N.png, as a job of its own; no page is
// one of the job's inputs.
bool RenderPreviewToPng(const std::string& formatPath, const std::string& dataPath, const std::string& dir,
                        const RenderOptions& options, int* pageCount = nullptr);

} // namespace dorvex
