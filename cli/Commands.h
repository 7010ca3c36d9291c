// The command table of `kovra`: the rows of this build's commands.  A build
// without the print engine (no Qt) has no pages, render or report: the
// build gives it the print engine's rows (PrintCommandTable.cpp) or none
// (NoPrintCommands.cpp).
#pragma once

#include "CommandLine.h"

#include <span>
#include <vector>

namespace kovra::cli {

// Every command of this build, in the order `kovra --help` lists them.
std::vector<Command> Commands();

// The print engine's rows, in two groups for their places in the list:
// pages and render; report.
std::span<const Command> PrintEngineCommands();
std::span<const Command> ReportCommands();

// The archive's rows (ArchiveCommandTable.cpp), one per subcommand, all
// named "archive"; a build without SQLite has none (NoArchiveCommands.cpp).
std::span<const Command> ArchiveCommands();

} // namespace kovra::cli
