#include "PageWalk.h"


#include <algorithm>
#include <climits>

namespace dorvex {

std::vector<PagePair> RunPrintWalk(PrintFile* format, PrintFile& data, const PrintWalkOptions& o, SheetTarget& target)
{
    std::vector<PagePair> sheets(1);
    int sheetNumber = 1;
    const bool withForm = o.printForm && format;
    auto drawFormat = [&]() {
        sheets.back().formatPage = format->pageAt(format->position());
        return target.drawPage(*format);
    };
    auto startSheet = [&]() {
        ++sheetNumber;
        target.newSheet(sheetNumber);
        sheets.push_back({});
    };

    bool lastFormatEnded = false;
    if (withForm) {
        format->reset();
        if (o.rangeGiven)
            SkipPages(*format, o.fromPage, true);
        lastFormatEnded = drawFormat();
    }
    if (o.rangeGiven)
        SkipPages(data, o.fromPage, false);

    bool cancelled = false;
    int pagesLeft = o.pagesLeft;
    while (!data.eof() && pagesLeft > 0) {
        --pagesLeft;
        sheets.back().dataPage = data.pageAt(data.position());
        const bool dataEnded = target.drawPage(data);
        if (!dataEnded && pagesLeft > 0) {
            startSheet();
            if (withForm) {
                if (lastFormatEnded)
                    format->reset();
                lastFormatEnded = drawFormat();
            }
        }
        if (target.cancelled()) {
            cancelled = true;
            break;
        }
    }
    // A form of several pages is always printed to its last page.
    if (withForm && !cancelled && !o.rangeGiven) {
        while (!lastFormatEnded) {
            startSheet();
            lastFormatEnded = drawFormat();
        }
    }
    return sheets;
}

PagePair SeekPreviewPage(PrintFile* format, PrintFile& data, int page)
{
    PagePair pair;
    if (format) {
        format->reset();
        if (SkipPages(*format, page, true))
            pair.formatPage = format->pageAt(format->position());
    }
    data.reset();
    if (SkipPages(data, page, false))
        pair.dataPage = data.pageAt(data.position());
    return pair;
}

JobGeometry ComputeJobGeometry(TEngineJob& job, int paperCode, bool landscape, int printableW, int printableH)
{
    JobGeometry g;
    PaperSizeFromCode(job, paperCode, g.paperWidthMm, g.paperHeightMm);
    if (job.PaperState < 2) {
        if (landscape)
            std::swap(g.paperWidthMm, g.paperHeightMm);
    } else {
        g.paperWidthMm = printableW + 20;
        g.paperHeightMm = printableH + 20;
    }
    const int left = job.FormatMarginsGiven ? job.FormatLeftMargin : job.CallerLeftMargin;
    const int top = job.FormatMarginsGiven ? job.FormatTopMargin : job.CallerTopMargin;
    const long long ox = left - RoundHalfEven((g.paperWidthMm - printableW) / 2.0) * 10;
    const long long oy = top - RoundHalfEven((g.paperHeightMm - printableH) / 2.0) * 10;
    auto clampInt = [](long long v) { return int(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    job.OriginX = clampInt(ox);
    job.OriginY = clampInt(oy);
    return g;
}

void ReadFormatSetup(TEngineJob& job, bool withOffset)
{
    job.FormatMarginsGiven = false;
    PrintFile* format = job.formatOrNull();
    if (!format)
        return;
    format->reset();
    ReadMarginLine(job, *format);
    format->reset();
    ReadPaperSizeLine(job, *format);
    if (withOffset) {
        format->reset();
        ReadOffsetLine(job, *format);
    }
    format->reset();
}

} // namespace dorvex
