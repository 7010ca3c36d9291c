// The arguments of `kovra archive SUBCOMMAND ...`: one row per subcommand in
// the command table, all named "archive"; the first row's dispatcher finds
// the subcommand's own syntax.
#include "ArchiveJobs.h"
#include "Commands.h"

#include <charconv>
#include <cstdio>

namespace kovra::cli {

namespace {

template <auto member>
Verdict AddFile(JobOf<member>& job, const std::string& argument)
{
    (job.*member).push_back(argument);
    return Accepted();
}

// An import's id: a positive decimal number, given once.
template <auto member>
Verdict StoreId(JobOf<member>& job, const std::string& argument)
{
    std::int64_t v = 0;
    const char* end = argument.data() + argument.size();
    const auto [p, ec] = std::from_chars(argument.data(), end, v);
    if ((job.*member) || ec != std::errc() || p != end || v <= 0)
        return Refused();
    job.*member = v;
    return Accepted();
}

template <auto member>
Verdict StoreOptional(JobOf<member>& job, const std::string& argument)
{
    if (argument.empty())
        return Refused("the note is empty");
    job.*member = argument;
    return Accepted();
}

template <class Job>
constexpr Option<Job> kArchiveOption{"--archive", Takes::Value, StoreOnce<&Job::archive>};

constexpr Positional<ArchiveImportJob> kImportArgs[] = {{Count::Rest, AddFile<&ArchiveImportJob::files>}};
constexpr Option<ArchiveImportJob> kImportOptions[] = {
    {"--series", Takes::Value, StoreOnce<&ArchiveImportJob::series>}, kArchiveOption<ArchiveImportJob>};
constexpr Syntax<ArchiveImportJob> kImport{kImportArgs, kImportOptions,
                                           [](const ArchiveImportJob& j) { return !j.files.empty(); }, RunArchiveImport};

constexpr Option<ArchiveListJob> kListOptions[] = {kArchiveOption<ArchiveListJob>};
constexpr Syntax<ArchiveListJob> kList{{}, kListOptions, nullptr, RunArchiveList};

constexpr Option<ArchiveChangesJob> kChangesOptions[] = {
    {"--from", Takes::Value, StoreId<&ArchiveChangesJob::from>},
    {"--to", Takes::Value, StoreId<&ArchiveChangesJob::to>},
    kArchiveOption<ArchiveChangesJob>};
constexpr Syntax<ArchiveChangesJob> kChanges{{}, kChangesOptions, nullptr, RunArchiveChanges};

constexpr Positional<ArchiveHistoryJob> kHistoryArgs[] = {{Count::One, StoreOnce<&ArchiveHistoryJob::number>}};
constexpr Option<ArchiveHistoryJob> kHistoryOptions[] = {kArchiveOption<ArchiveHistoryJob>};
constexpr Syntax<ArchiveHistoryJob> kHistory{kHistoryArgs, kHistoryOptions, nullptr, RunArchiveHistory};

constexpr Positional<ArchiveNoteJob> kNoteArgs[] = {{Count::One, StoreOnce<&ArchiveNoteJob::number>},
                                                     {Count::Optional, StoreOptional<&ArchiveNoteJob::text>}};
constexpr Option<ArchiveNoteJob> kNoteOptions[] = {kArchiveOption<ArchiveNoteJob>};
constexpr Syntax<ArchiveNoteJob> kNote{kNoteArgs, kNoteOptions, nullptr, RunArchiveNote};

constexpr Positional<ArchiveBackupJob> kBackupArgs[] = {{Count::One, StoreOnce<&ArchiveBackupJob::out>}};
constexpr Option<ArchiveBackupJob> kBackupOptions[] = {kArchiveOption<ArchiveBackupJob>};
constexpr Syntax<ArchiveBackupJob> kBackup{kBackupArgs, kBackupOptions, nullptr, RunArchiveBackup};

constexpr Positional<ArchiveCopyJob> kCopyArgs[] = {{Count::One, StoreOnce<&ArchiveCopyJob::from>},
                                                     {Count::One, StoreOnce<&ArchiveCopyJob::to>}};
constexpr Syntax<ArchiveCopyJob> kCopy{kCopyArgs, {}, nullptr, RunArchiveCopy};

constexpr Command kSubcommands[] = {
    {"archive import", "archive import FILE... [--series NAME] [--archive PATH]", ParseAndRun<kImport>},
    {"archive list", "archive list [--archive PATH]", ParseAndRun<kList>},
    {"archive changes", "archive changes [--from ID] [--to ID] [--archive PATH]", ParseAndRun<kChanges>},
    {"archive history", "archive history NUM [--archive PATH]", ParseAndRun<kHistory>},
    {"archive note", "archive note NUM [TEXT] [--archive PATH]", ParseAndRun<kNote>},
    {"archive backup", "archive backup OUT [--archive PATH]", ParseAndRun<kBackup>},
    {"archive copy", "archive copy FROM TO", ParseAndRun<kCopy>},
};

// Options may stand anywhere, also before the subcommand: the first
// argument that is not --archive or its value names it.
int Dispatch(const Command&, const Args& args)
{
    std::size_t at = 0;
    while (at < args.size() && args[at] == "--archive")
        at += 2;
    if (at < args.size()) {
        for (const Command& c : kSubcommands) {
            if (std::string_view(c.name).substr(8) != args[at])
                continue;
            Args rest(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(at));
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
            return c.main(c, rest);
        }
    }
    for (const Command& c : kSubcommands)
        std::fprintf(stderr, "usage: kovra %s\n", c.synopsis);
    return kExitUsage;
}

constexpr Command kRows[] = {
    {"archive", kSubcommands[0].synopsis, Dispatch}, {"archive", kSubcommands[1].synopsis, Dispatch},
    {"archive", kSubcommands[2].synopsis, Dispatch}, {"archive", kSubcommands[3].synopsis, Dispatch},
    {"archive", kSubcommands[4].synopsis, Dispatch}, {"archive", kSubcommands[5].synopsis, Dispatch},
    {"archive", kSubcommands[6].synopsis, Dispatch},
};

} // namespace

std::span<const Command> ArchiveCommands() { return kRows; }

} // namespace kovra::cli
