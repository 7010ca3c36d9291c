// kovra find / export: the listing search on the command line.
//   find FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--sort [-]FIELD]... [--no-member]
//     one line per listing found, in result order: its 1-based position, TAB, its BukkennNum
//   export FILE (--csv OUT | --xlsx OUT) [the same terms, conditions and sorts] [--no-member]
//   --no-member: the member fields count as empty, in the search and in the file written
#include "Jobs.h"
#include "ListingInput.h"
#include "Output.h"

#include "ListingExport.h"
#include "ListingDocument.h"
#include "MemberFields.h"
#include "SearchIndex.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

std::vector<int> Search(const TListingDocument& data, const search::QueryDescription& description, const FieldSet& blank)
{
    const search::SearchIndex index(data, blank);
    return index.run(search::Query(description));
}

} // namespace

bool RunFind(const FindJob& job)
{
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    std::string out;
    for (const int i : Search(data, job.query, job.noMember ? MemberFields() : FieldSet())) {
        out += std::to_string(i + 1);
        out.push_back('\t');
        out += data.ListingTable[static_cast<std::size_t>(i)].BukkennNum();
        out.push_back('\n');
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return true;
}

bool RunExport(const ExportJob& job)
{
    const bool csv = !job.csvOut.empty();
#ifdef KOVRA_XLSX_EXPORT
    const search::SheetWriter write = csv ? search::WriteCsv : search::WriteXlsx;
#else
    if (!csv) {
        PrintLine(stderr, "kovra export: this build writes CSV only (XLSX needs zlib); use --csv OUT");
        return false;
    }
    const search::SheetWriter write = search::WriteCsv;
#endif
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    const FieldSet blank = job.noMember ? MemberFields() : FieldSet();
    const std::vector<int> found = Search(data, job.query, blank);
    const search::ExportOutcome outcome =
        search::ExportListings(std::span<const TKovraDataClass>(data.ListingTable.data(), static_cast<std::size_t>(data.ListingCount)),
                               found, write, csv ? job.csvOut : job.xlsxOut, fileio::JobInputs{job.file}, blank);
    if (!outcome.ok) {
        PrintLine(stderr, outcome.message);
        return false;
    }
    if (outcome.shortenedCells > 0)
        PrintLine(stderr, "kovra export: " + std::to_string(outcome.shortenedCells) + " texts cut to the 32767 characters a cell holds");
    return true;
}

} // namespace kovra::cli
