// kovra: the viewer's cores on the command line, for scripts and checks.
#include "Commands.h"
#include "Platform.h"

#include "FileIO.h"
#include "MessageTexts.h"

#include <cstdio>
#include <cstring>

namespace kovra::cli {
namespace {

// New subcommands add one row here.
const Command kCommands[] = {
    {"dump", "dump FILE", RunDump},
    {"info", "info FILE", RunInfo},
    {"strip", "strip FILE OUT", RunStrip},
    {"summary", "summary [FILE]", RunSummary},
#ifdef KOVRA_CLI_PRINT_COMMANDS
    {"pages", "pages FORMAT DATA", RunPages},
    {"render", "render FORMAT DATA (--pdf OUT.pdf | --png DIR) [--paper CODE] [--landscape] [--dpi N] [--zoom Z]", RunRender},
#endif
    {"html", "html FILE --template T --out DIR [--fieldlist F] [--yes]", RunHtml},
#ifdef KOVRA_CLI_PRINT_COMMANDS
    {"report", "report FILE (OUT [--no-member-print] | --pdf OUT.pdf) [--all | --listing N]", RunReport},
#endif
    {"find", "find FILE [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--sort [-]FIELD]...", RunFind},
    {"export", "export FILE (--csv OUT | --xlsx OUT) [TERM...] [--where FIELD=TEXT]... [--min FIELD=N]... [--max FIELD=N]... [--sort [-]FIELD]...", RunExport},
};

void PrintHelp(std::FILE* to)
{
    std::fputs("usage: kovra COMMAND ARGS...\n\ncommands:\n", to);
    for (const Command& c : kCommands)
        std::fprintf(to, "  kovra %s\n", c.synopsis);
    std::fputs("\n  kovra --help    this text\n", to);
}

} // namespace

int UsageError(const char* name)
{
    for (const Command& c : kCommands)
        if (std::strcmp(c.name, name) == 0)
            std::fprintf(stderr, "usage: kovra %s\n", c.synopsis);
    return kExitUsage;
}

namespace {

// Output that did not reach its place (a full disk, a closed pipe) is a
// failure, not a success: stdout is flushed and closed here and checked.
int FinishStdout(int status)
{
    const bool flushed = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (std::fclose(stdout) == 0 && flushed)
        return status;
    std::fprintf(stderr, "%s\n", std::string(kovra::msg::kCannotWriteStdout).c_str());
    return status == kExitOk ? kExitFailed : status;
}

int Run(int argc, char** argv)
{
    platform::UseByteStdio();
    const Args args = platform::Utf8Arguments(argc, argv);
    if (args.empty()) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (name == c.name)
            return c.run(Args(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "kovra: unknown command '%s'\n", name.c_str());
    PrintHelp(stderr);
    return kExitUsage;
}

} // namespace

} // namespace kovra::cli

int main(int argc, char** argv)
{
    using namespace kovra::cli;
    // Past a file-size limit a write fails and the command says so, instead
    // of the process ending with its temporary files left behind.
    kovra::fileio::IgnoreFileSizeLimitSignal();
    return FinishStdout(Run(argc, argv));
}
