// kovra: the viewer's cores on the command line, for scripts and checks.
// The shell finds the command by its name in the command table; the row
// parses the arguments into the command's job and runs it (CommandLine.h).
#include "Commands.h"
#include "Jobs.h"
#include "Platform.h"

#include "FileIO.h"
#include "MessageTexts.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kovra::cli {

namespace {

void PrintHelp(std::FILE* to, const std::vector<Command>& commands)
{
    std::fputs("usage: kovra COMMAND ARGS...\n\ncommands:\n", to);
    for (const Command& c : commands)
        std::fprintf(to, "  kovra %s\n", c.synopsis);
    std::fputs("\n  kovra --help    this text\n", to);
}

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
    const std::vector<Command> commands = Commands();
    if (args.empty()) {
        PrintHelp(stderr, commands);
        return kExitUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout, commands);
        return kExitOk;
    }
    for (const Command& c : commands) {
        if (name == c.name)
            return c.main(c, Args(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "kovra: unknown command '%s'\n", name.c_str());
    PrintHelp(stderr, commands);
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
