// The walk over the pages of a job, written once: the print job, the PDF
// output and `kovra pages` run the same sheets, and the preview and the PNG
// output pair the same pages.
#pragma once

#include "EngineJob.h"

#include <optional>
#include <vector>

namespace dorvex {

// The format and data page drawn on one sheet or preview page (0 = none).
struct PagePair {
    int formatPage = 0;
    int dataPage = 0;
    bool operator==(const PagePair&) const = default;
};

// What the walk draws on: a printer, a PDF, or nothing (counting).
class SheetTarget {
public:
    virtual ~SheetTarget() = default;
    // Draws the page at the file's position; the DrawPage result.
    virtual bool drawPage(PrintFile& file) = 0;
    // Starts sheet `sheetNumber` (2, 3, …); the first sheet is begun by the
    // caller with the document.
    virtual void newSheet(int sheetNumber) = 0;
    // Looked at once per data page; true ends the walk.
    virtual bool cancelled() { return false; }
};

struct PrintWalkOptions {
    bool printForm = true;   // PrintFormatPages
    bool rangeGiven = false; // PageRangeGiven
    int fromPage = 1;
    int pagesLeft = 1;       // data pages still to print
};

// Sheets of a print job, in order.  `format` is null without a format file;
// both files are open.  The walk leaves them at wherever it stopped.
std::vector<PagePair> RunPrintWalk(PrintFile* format, PrintFile& data, const PrintWalkOptions& options, SheetTarget& target);

// Positions both files at preview page `page` (from 1); the pair says which
// pages stand there (0 where SkipPages failed or there is no format).
PagePair SeekPreviewPage(PrintFile* format, PrintFile& data, int page);

// Page geometry of a job (steps of the print job that the preview repeats):
// the paper in mm for `paperCode` (swapped for landscape while its size is
// known, the printable area + 20 mm when unknown), then the job's
// OriginX/OriginY from its margins.
struct JobGeometry {
    int paperWidthMm = 0;
    int paperHeightMm = 0;
};
JobGeometry ComputeJobGeometry(TEngineJob& job, int paperCode, bool landscape, int printableWidthMm,
                               int printableHeightMm);

// Reads the "M" and "P" lines (and "D" when `withOffset`) of the job's open
// format file, clearing FormatMarginsGiven first.
void ReadFormatSetup(TEngineJob& job, bool withOffset);

} // namespace dorvex
