// kovra stats FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--by FIELD] [--measure FIELD]...
//   [--no-member]
//   the market figures of the listings `kovra find` finds with the same
//   terms: a header line, then per group and measure a TAB-separated line
#include "Jobs.h"
#include "ListingInput.h"

#include "ListingDocument.h"
#include "MarketFigures.h"
#include "MemberFields.h"
#include "SearchIndex.h"

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

// A group's text in a TAB-separated line: a TAB or line break inside it
// would split the line, so it stands as a space.
void AppendCell(std::string& out, std::string_view text)
{
    for (const char c : text)
        out.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
}

} // namespace

bool RunStats(const StatsJob& job)
{
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    // With --no-member a member field is empty: never found, one empty
    // group under --by, no number as a measure.
    const search::SearchIndex index(data, job.noMember ? MemberFields() : FieldSet());
    const std::vector<int> found = index.run(search::Query(job.query));
    search::MarketRequest request;
    if (!job.measures.empty())
        request.measures = job.measures;
    request.groupField = job.by;
    const search::MarketFigures figures = search::ComputeMarketFigures(data, index, found, request);

    std::string out = "group\tmeasure\tcount\tn\tmin\tp25\tmedian\tp75\tmax\tmean\n";
    for (const search::MarketGroup& group : figures.groups) {
        for (std::size_t m = 0; m < figures.measures.size(); ++m) {
            const search::Figures& f = group.figures[m];
            AppendCell(out, group.name);
            out += '\t';
            out += kFieldNames[static_cast<std::size_t>(figures.measures[m])];
            out += '\t' + std::to_string(group.listings.size()) + '\t' + std::to_string(f.n);
            for (const double v : {f.min, f.p25, f.median, f.p75, f.max, f.mean}) {
                out += '\t';
                if (f.n > 0)
                    out += search::FigureText(v);
            }
            out += '\n';
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return true;
}

} // namespace kovra::cli
