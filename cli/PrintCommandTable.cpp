// The arguments of the print engine's commands: pages, render, report.
#include "Commands.h"
#include "PrintJobs.h"

#include <climits>

namespace kovra::cli {

namespace {

constexpr Positional<PagesJob> kPagesArgs[] = {{Count::One, Store<&PagesJob::format>},
                                               {Count::One, Store<&PagesJob::data>}};
constexpr Syntax<PagesJob> kPages{kPagesArgs, {}, nullptr, RunPages};

// --pdf or --png, once.
template <auto output>
Verdict StoreRenderOutput(RenderJob& job, const std::string& argument)
{
    if (!job.pdf.empty() || !job.png.empty())
        return Refused();
    job.*output = argument;
    return Accepted();
}

constexpr Positional<RenderJob> kRenderArgs[] = {{Count::One, Store<&RenderJob::format>},
                                                 {Count::One, Store<&RenderJob::data>}};
constexpr Option<RenderJob> kRenderOptions[] = {
    {"--pdf", Takes::Value, StoreRenderOutput<&RenderJob::pdf>},
    {"--png", Takes::Value, StoreRenderOutput<&RenderJob::png>},
    {"--paper", Takes::Value, [](RenderJob& j, const std::string& a) { return ReadNumber(a, 1, 32767, j.options.paperCode); }},
    {"--landscape", Takes::Nothing, [](RenderJob& j, const std::string&) { j.options.landscape = true; return Accepted(); }},
    {"--dpi", Takes::Value, [](RenderJob& j, const std::string& a) { return ReadNumber(a, 24, 2400, j.options.dpi); }},
    {"--zoom", Takes::Value, [](RenderJob& j, const std::string& a) { return ReadNumber(a, 3, 20, j.options.zoom); }},
};
constexpr Syntax<RenderJob> kRender{kRenderArgs, kRenderOptions,
                                    [](const RenderJob& j) { return j.pdf.empty() != j.png.empty(); }, RunRender};

constexpr Positional<ReportJob> kReportArgs[] = {{Count::One, Store<&ReportJob::file>},
                                                 {Count::Optional, Store<&ReportJob::out>}};
constexpr Option<ReportJob> kReportOptions[] = {
    {"--pdf", Takes::Value, StoreOnce<&ReportJob::pdf>},
    {"--all", Takes::Nothing, Raise<&ReportJob::all>},
    {"--listing", Takes::Value,
     [](ReportJob& j, const std::string& a) { return ReadNumber(a, INT_MIN, INT_MAX, j.listing.emplace()); }},
    {"--no-member-print", Takes::Nothing, Raise<&ReportJob::noMemberPrint>},
};
// The print data file or a PDF; one listing or all; the member columns are
// a matter of the data file only.
constexpr Syntax<ReportJob> kReport{kReportArgs, kReportOptions,
                                    [](const ReportJob& j) {
                                        return j.out.empty() != j.pdf.empty() && !(j.all && j.listing)
                                            && !(j.noMemberPrint && !j.pdf.empty());
                                    },
                                    RunReport};

constexpr Command kEngineRows[] = {
    {"pages", "pages FORMAT DATA", ParseAndRun<kPages>},
    {"render", "render FORMAT DATA (--pdf OUT.pdf | --png DIR) [--paper CODE] [--landscape] [--dpi N] [--zoom Z]",
     ParseAndRun<kRender>},
};
constexpr Command kReportRows[] = {
    {"report", "report FILE (OUT [--no-member-print] | --pdf OUT.pdf) [--all | --listing N]", ParseAndRun<kReport>},
};

} // namespace

std::span<const Command> PrintEngineCommands() { return kEngineRows; }
std::span<const Command> ReportCommands() { return kReportRows; }

} // namespace kovra::cli
