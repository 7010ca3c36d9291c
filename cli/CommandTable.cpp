// The arguments of the listing, HTML and search commands, and the command
// table in the order of `kovra --help`.
#include "Commands.h"
#include "Jobs.h"
#include "SearchArguments.h"

#include "CompareSheet.h"

namespace kovra::cli {

namespace {

constexpr Positional<DumpJob> kDumpArgs[] = {{Count::One, Store<&DumpJob::file>}};
constexpr Syntax<DumpJob> kDump{kDumpArgs, {}, nullptr, RunDump};

constexpr Positional<InfoJob> kInfoArgs[] = {{Count::One, Store<&InfoJob::file>}};
constexpr Syntax<InfoJob> kInfo{kInfoArgs, {}, nullptr, RunInfo};

constexpr Positional<StripJob> kStripArgs[] = {{Count::One, Store<&StripJob::file>},
                                               {Count::One, Store<&StripJob::out>}};
constexpr Syntax<StripJob> kStrip{kStripArgs, {}, nullptr, RunStrip};

constexpr Positional<SummaryJob> kSummaryArgs[] = {{Count::Optional, Store<&SummaryJob::file>}};
constexpr Syntax<SummaryJob> kSummary{kSummaryArgs, {}, nullptr, RunSummary};

constexpr Positional<HtmlJob> kHtmlArgs[] = {{Count::One, Store<&HtmlJob::file>}};
constexpr Option<HtmlJob> kHtmlOptions[] = {
    {"--template", Takes::Value, StoreOnce<&HtmlJob::templatePath>},
    {"--out", Takes::Value, StoreOnce<&HtmlJob::outDir>},
    {"--fieldlist", Takes::Value, StoreOnce<&HtmlJob::fieldListPath>},
    {"--yes", Takes::Nothing, Raise<&HtmlJob::yes>},
};
constexpr Syntax<HtmlJob> kHtml{kHtmlArgs, kHtmlOptions,
                                [](const HtmlJob& j) { return !j.file.empty() && !j.templatePath.empty() && !j.outDir.empty(); },
                                RunHtml};

constexpr Positional<FindJob> kFindArgs[] = {{Count::One, Store<&FindJob::file>},
                                             {Count::Rest, OnQuery<FindJob, AddTerm>}};
constexpr Option<FindJob> kFindOptions[] = {
    {"--where", Takes::Value, OnQuery<FindJob, AddWhere>},
    {"--min", Takes::Value, OnQuery<FindJob, AddMin>},
    {"--max", Takes::Value, OnQuery<FindJob, AddMax>},
    {"--sort", Takes::Value, OnQuery<FindJob, AddSort>},
    {"--no-member", Takes::Nothing, Raise<&FindJob::noMember>},
};
constexpr Syntax<FindJob> kFind{kFindArgs, kFindOptions, [](const FindJob& j) { return !j.file.empty(); }, RunFind};

constexpr Positional<ExportJob> kExportArgs[] = {{Count::One, Store<&ExportJob::file>},
                                                 {Count::Rest, OnQuery<ExportJob, AddTerm>}};
constexpr Option<ExportJob> kExportOptions[] = {
    {"--csv", Takes::Value, StoreOnce<&ExportJob::csvOut>},
    {"--xlsx", Takes::Value, StoreOnce<&ExportJob::xlsxOut>},
    {"--where", Takes::Value, OnQuery<ExportJob, AddWhere>},
    {"--min", Takes::Value, OnQuery<ExportJob, AddMin>},
    {"--max", Takes::Value, OnQuery<ExportJob, AddMax>},
    {"--sort", Takes::Value, OnQuery<ExportJob, AddSort>},
    {"--no-member", Takes::Nothing, Raise<&ExportJob::noMember>},
};
constexpr Syntax<ExportJob> kExport{
    kExportArgs, kExportOptions,
    [](const ExportJob& j) { return !j.file.empty() && j.csvOut.empty() != j.xlsxOut.empty(); }, RunExport};

constexpr Positional<StatsJob> kStatsArgs[] = {{Count::One, Store<&StatsJob::file>},
                                               {Count::Rest, OnQuery<StatsJob, AddTerm>}};
constexpr Option<StatsJob> kStatsOptions[] = {
    {"--where", Takes::Value, OnQuery<StatsJob, AddWhere>},
    {"--min", Takes::Value, OnQuery<StatsJob, AddMin>},
    {"--max", Takes::Value, OnQuery<StatsJob, AddMax>},
    {"--no-member", Takes::Nothing, Raise<&StatsJob::noMember>},
    {"--by", Takes::Value,
     [](StatsJob& j, const std::string& a) { return j.by >= 0 ? Refused() : ReadFieldName(a, j.by); }},
    {"--measure", Takes::Value,
     [](StatsJob& j, const std::string& a) { return ReadFieldName(a, j.measures.emplace_back()); }},
};
constexpr Syntax<StatsJob> kStats{kStatsArgs, kStatsOptions, [](const StatsJob& j) { return !j.file.empty(); }, RunStats};

constexpr Positional<CompareJob> kCompareArgs[] = {
    {Count::One, Store<&CompareJob::file>},
    {Count::Rest, [](CompareJob& j, const std::string& a) {
         if (j.numbers.size() >= static_cast<std::size_t>(search::kCompareMaxListings))
             return Refused("at most " + std::to_string(search::kCompareMaxListings) + " listings on one sheet");
         j.numbers.push_back(a);
         return Accepted();
     }}};
constexpr Option<CompareJob> kCompareOptions[] = {
    {"--pdf", Takes::Value, StoreOnce<&CompareJob::pdf>},
    {"--csv", Takes::Value, StoreOnce<&CompareJob::csv>},
};
constexpr Syntax<CompareJob> kCompare{
    kCompareArgs, kCompareOptions,
    [](const CompareJob& j) {
        return !j.file.empty() && j.pdf.empty() != j.csv.empty() &&
               j.numbers.size() >= static_cast<std::size_t>(search::kCompareMinListings);
    },
    RunCompare};
constexpr Positional<ChangesJob> kChangesArgs[] = {{Count::One, Store<&ChangesJob::oldFile>},
                                                   {Count::One, Store<&ChangesJob::newFile>}};
constexpr Option<ChangesJob> kChangesOptions[] = {
    {"--csv", Takes::Value, StoreOnce<&ChangesJob::csvOut>},
    {"--xlsx", Takes::Value, StoreOnce<&ChangesJob::xlsxOut>},
};
constexpr Syntax<ChangesJob> kChanges{kChangesArgs, kChangesOptions,
                                      [](const ChangesJob& j) { return j.csvOut.empty() || j.xlsxOut.empty(); }, RunChanges};

using Rows = std::span<const Command>;

constexpr Command kListingRows[] = {
    {"dump", "dump FILE", ParseAndRun<kDump>},
    {"info", "info FILE", ParseAndRun<kInfo>},
    {"strip", "strip FILE OUT", ParseAndRun<kStrip>},
    {"summary", "summary [FILE]", ParseAndRun<kSummary>},
};
constexpr Command kHtmlRows[] = {
    {"html", "html FILE --template T --out DIR [--fieldlist F] [--yes]", ParseAndRun<kHtml>},
};
constexpr Command kSearchRows[] = {
    {"find", "find FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--sort [-]FIELD]... "
     "[--no-member]",
     ParseAndRun<kFind>},
    {"export",
     "export FILE (--csv OUT | --xlsx OUT) [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... "
     "[--sort [-]FIELD]... [--no-member]",
     ParseAndRun<kExport>},
    {"stats",
     "stats FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--by FIELD] "
     "[--measure FIELD]... [--no-member]",
     ParseAndRun<kStats>},
    {"compare", "compare FILE NUM... (--pdf OUT.pdf | --csv OUT)", ParseAndRun<kCompare>},
};
constexpr Command kChangesRows[] = {
    {"changes", "changes OLD NEW [--csv OUT | --xlsx OUT]", ParseAndRun<kChanges>},
};

} // namespace

std::vector<Command> Commands()
{
    std::vector<Command> all;
    for (const Rows rows : {Rows(kListingRows), PrintEngineCommands(), Rows(kHtmlRows), ReportCommands(), Rows(kSearchRows), Rows(kChangesRows),
                            ArchiveCommands()})
        all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

} // namespace kovra::cli
