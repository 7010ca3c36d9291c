// A build without the print engine (no Qt): no pages, render or report.
#include "Commands.h"

namespace kovra::cli {

std::span<const Command> PrintEngineCommands() { return {}; }
std::span<const Command> ReportCommands() { return {}; }

} // namespace kovra::cli
