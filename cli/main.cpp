// kovra: the viewer's cores on the command line, for scripts and checks.
#include "Commands.h"

#include "FileIO.h"
#include "ListingMessages.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>

namespace kovra::cli {
namespace {

// New subcommands add one row here.
const Command kCommands[] = {
    {"dump", "dump FILE", RunDump},
    {"info", "info FILE", RunInfo},
    {"strip", "strip FILE OUT", RunStrip},
    {"summary", "summary [FILE]", RunSummary},
    {"pages", "pages FORMAT DATA", RunPages},
    {"render", "render FORMAT DATA (--pdf OUT.pdf | --png DIR) [--paper CODE] [--landscape] [--dpi N] [--zoom Z]", RunRender},
    {"html", "html FILE --template T --out DIR [--fieldlist F] [--yes]", RunHtml},
    {"report", "report FILE (OUT [--no-member-print] | --pdf OUT.pdf) [--all | --listing N]", RunReport},
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

std::string gProgramDir = ".";

// The folder of the running tool, also when it was started through PATH.
std::string FindProgramDir(const char* argv0)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec); // Linux; elsewhere argv[0] below
    if (ec || self.empty())
        self = fs::absolute(fs::path(argv0), ec);
    const auto u8 = self.parent_path().u8string();
    return u8.empty() ? std::string(".") : std::string(u8.begin(), u8.end());
}

} // namespace

std::string ProgramDir() { return gProgramDir; }

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
    if (argc < 2) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
        PrintHelp(stdout);
        return kExitOk;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(c.name, argv[1]) == 0)
            return c.run(Args(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "kovra: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return kExitUsage;
}

} // namespace

} // namespace kovra::cli

int main(int argc, char** argv)
{
    using namespace kovra::cli;
    gProgramDir = FindProgramDir(argv[0]);
    // Past a file-size limit a write fails and the command says so, instead
    // of the process ending with its temporary files left behind.
    kovra::fileio::IgnoreFileSizeLimitSignal();
    return FinishStdout(Run(argc, argv));
}
