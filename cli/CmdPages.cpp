// kovra pages FORMAT DATA: how the engine pairs format and data pages, for
// the preview and for a print job with the form printed.
#include "Output.h"
#include "PrintJobs.h"

#include "PageWalk.h"
#include "RenderJob.h"

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

void AppendPage(std::string& out, int page)
{
    out += page > 0 ? std::to_string(page) : std::string("null");
}

void AppendPairs(std::string& out, const std::vector<dorvex::PagePair>& pairs)
{
    out += '[';
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i)
            out += ", ";
        out += '[';
        AppendPage(out, pairs[i].formatPage);
        out += ", ";
        AppendPage(out, pairs[i].dataPage);
        out += ']';
    }
    out += ']';
}

// Counts sheets without drawing.
class CountingTarget : public dorvex::SheetTarget {
public:
    explicit CountingTarget(dorvex::TEngineJob& job) : job_(job) {}
    bool drawPage(dorvex::PrintFile& file) override { return dorvex::DrawPage(job_, file, nullptr, 10, 1, 1); }
    void newSheet(int) override {}

private:
    dorvex::TEngineJob& job_;
};

} // namespace

bool RunPages(const PagesJob& job)
{
    dorvex::TEngineJob engine(job.format, job.data);
    if (!engine.openFiles())
        return false;

    const int formatPages = engine.formatOrNull() ? dorvex::CountPagesOf(engine.formatFile) : 1;
    const int dataPages = dorvex::CountPagesOf(engine.dataFile);
    dorvex::CountPreviewPages(engine);

    std::vector<dorvex::PagePair> preview;
    for (int page = 1; page <= engine.PageTotal; ++page)
        preview.push_back(dorvex::SeekPreviewPage(engine.formatOrNull(), engine.dataFile, page));

    engine.dataFile.reset();
    dorvex::PrintWalkOptions walk;
    walk.printForm = true;
    walk.pagesLeft = dataPages;
    CountingTarget counter(engine);
    std::vector<dorvex::PagePair> sheets = dorvex::RunPrintWalk(engine.formatOrNull(), engine.dataFile, walk, counter);

    std::string out = "{\"format_pages\": " + std::to_string(formatPages) + ", \"data_pages\": "
        + std::to_string(dataPages) + ", \"PageTotal\": " + std::to_string(engine.PageTotal) + ", \"preview\": ";
    AppendPairs(out, preview);
    out += ", \"print\": ";
    AppendPairs(out, sheets);
    out += "}";
    PrintLine(stdout, out);
    return true;
}

} // namespace kovra::cli
