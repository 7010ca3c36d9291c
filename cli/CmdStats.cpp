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

    const std::string out = search::MarketFiguresTable(figures);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return true;
}

} // namespace kovra::cli
