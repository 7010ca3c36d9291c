// The arguments `kovra find` and `kovra export` share: the file, search
// terms, --where FIELD=TEXT, --min/--max FIELD=N and --sort [-]FIELD; and
// for export the output, --csv OUT or --xlsx OUT.
#pragma once

#include "Commands.h"

#include "SearchQuery.h"

#include <string>

namespace kovra::cli {

struct SearchArguments {
    std::string file;
    search::QueryDescription query;
    std::string csvOut, xlsxOut; // export only
};

// Fills `out` from the arguments of `command` ("find" or "export").  On a
// bad argument prints what is wrong and the usage line to stderr and
// returns false (the caller exits with kExitUsage).
bool ParseSearchArguments(const char* command, const Args& args, SearchArguments& out);

} // namespace kovra::cli
