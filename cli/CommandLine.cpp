#include "CommandLine.h"

#include <cstdio>

namespace kovra::cli {

int UsageError(const Command& command, const std::string& why)
{
    if (!why.empty())
        std::fprintf(stderr, "kovra %s: %s\n", command.name, why.c_str());
    std::fprintf(stderr, "usage: kovra %s\n", command.synopsis);
    return kExitUsage;
}

} // namespace kovra::cli
