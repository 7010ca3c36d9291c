// A build without the print engine (no Qt): no pages, render or report, and
// the comparison sheet as CSV only.
#include "Commands.h"
#include "ComparePdf.h"
#include "Output.h"

namespace kovra::cli {

std::span<const Command> PrintEngineCommands() { return {}; }
std::span<const Command> ReportCommands() { return {}; }

bool WriteComparePdf(const search::CompareSheet&, const std::string&)
{
    PrintLine(stderr, "kovra compare: this build has no print engine; use --csv OUT");
    return false;
}

} // namespace kovra::cli
