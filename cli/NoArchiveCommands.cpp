// A build without SQLite (the Windows cross-build) has no archive.
#include "Commands.h"

namespace kovra::cli {

std::span<const Command> ArchiveCommands() { return {}; }

} // namespace kovra::cli
