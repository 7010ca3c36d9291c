// The jobs of `kovra archive`: each subcommand's arguments, and the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovra::cli {

// --archive PATH on every subcommand; empty: the setting FArchive/Location,
// else the user's data folder.
struct ArchiveImportJob {
    std::vector<std::string> files;
    std::string series;
    std::string archive;
};
struct ArchiveListJob {
    std::string archive;
};
struct ArchiveChangesJob {
    std::optional<std::int64_t> from, to;
    std::string archive;
};
struct ArchiveHistoryJob {
    std::string number;
    std::string archive;
};
struct ArchiveNoteJob {
    std::string number;
    std::optional<std::string> text; // none: list the notes
    std::string archive;
};
struct ArchiveBackupJob {
    std::string out;
    std::string archive;
};

// Both locations given: a copy names where from and where to.
struct ArchiveCopyJob {
    std::string from, to;
};

bool RunArchiveImport(const ArchiveImportJob& job);
bool RunArchiveList(const ArchiveListJob& job);
bool RunArchiveChanges(const ArchiveChangesJob& job);
bool RunArchiveHistory(const ArchiveHistoryJob& job);
bool RunArchiveNote(const ArchiveNoteJob& job);
bool RunArchiveBackup(const ArchiveBackupJob& job);
bool RunArchiveCopy(const ArchiveCopyJob& job);

} // namespace kovra::cli
