// The subcommands of `kovra`.  Each one parses its own arguments, runs a
// core function and maps the outcome to an exit status:
//   0 done, 1 the work failed (message on stderr), 2 bad arguments (usage).
#pragma once

#include <string>
#include <vector>

namespace kovra::cli {

using Args = std::vector<std::string>; // the arguments after the subcommand name

struct Command {
    const char* name;
    const char* synopsis; // one line for the usage text
    int (*run)(const Args& args);
};

int RunDump(const Args& args);
int RunInfo(const Args& args);
int RunStrip(const Args& args);
int RunSummary(const Args& args);
int RunPages(const Args& args);
int RunRender(const Args& args);
int RunHtml(const Args& args);
int RunReport(const Args& args);
int RunFind(const Args& args);
int RunExport(const Args& args);

// Prints "usage: kovra <synopsis of name>" to stderr and returns 2.
int UsageError(const char* name);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

} // namespace kovra::cli
