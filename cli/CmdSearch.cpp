// kovra find / export: the listing search on the command line.
//   find FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--sort [-]FIELD]...
//     one line per listing found, in result order: its 1-based position, TAB, its BukkennNum
//   export FILE (--csv OUT | --xlsx OUT) [the same terms, conditions and sorts]
#include "Commands.h"
#include "SearchArguments.h"

#include "ListingExport.h"
#include "ListingTable.h"
#include "SearchIndex.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

void PrintLine(std::FILE* to, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), to);
    std::fputc('\n', to);
}

// Loads like the viewer; on failure prints the viewer's message to stderr.
bool Load(ListingData& data, const std::string& path)
{
    data.CurrentFileName = path;
    const LoadOutcome outcome = LoadListingFile(data, path);
    if (!outcome.ok())
        PrintLine(stderr, outcome.message);
    return outcome.ok();
}

std::vector<int> Search(const ListingData& data, const search::QueryDescription& description)
{
    const search::SearchIndex index(data);
    return index.run(search::Query(description));
}

} // namespace

int RunFind(const Args& args)
{
    SearchArguments a;
    if (!ParseSearchArguments("find", args, a))
        return kExitUsage;
    ListingData data;
    if (!Load(data, a.file))
        return kExitFailed;
    std::string out;
    for (const int i : Search(data, a.query)) {
        out += std::to_string(i + 1);
        out.push_back('\t');
        out += data.ListingTable[static_cast<std::size_t>(i)].BukkennNum();
        out.push_back('\n');
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

int RunExport(const Args& args)
{
    SearchArguments a;
    if (!ParseSearchArguments("export", args, a))
        return kExitUsage;
    const bool csv = !a.csvOut.empty();
#ifdef KOVRA_XLSX_EXPORT
    const search::SheetWriter write = csv ? search::WriteCsv : search::WriteXlsx;
#else
    if (!csv) {
        PrintLine(stderr, "kovra export: this build writes CSV only (XLSX needs libxlsxwriter); use --csv OUT");
        return kExitFailed;
    }
    const search::SheetWriter write = search::WriteCsv;
#endif
    ListingData data;
    if (!Load(data, a.file))
        return kExitFailed;
    const std::vector<int> found = Search(data, a.query);
    const search::ExportOutcome outcome =
        search::ExportListings(std::span<const TKovraDataClass>(data.ListingTable.data(), static_cast<std::size_t>(data.ListingCount)),
                               found, write, csv ? a.csvOut : a.xlsxOut);
    if (!outcome.ok) {
        PrintLine(stderr, outcome.message);
        return kExitFailed;
    }
    if (outcome.shortenedCells > 0)
        PrintLine(stderr, "kovra export: " + std::to_string(outcome.shortenedCells) + " texts cut to the 32767 characters a cell holds");
    return kExitOk;
}

} // namespace kovra::cli
