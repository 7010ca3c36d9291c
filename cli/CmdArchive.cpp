// kovra archive import|list|changes|history|note|backup|copy: the archive on
// the command line.
//   import<TAB>ID<TAB>DATE<TAB>SERIES<TAB>LISTINGS<TAB>NEW<TAB>GONE<TAB>CHANGED<TAB>FILE, or same<TAB>ID<TAB>FILE
//   list: import<TAB>ID<TAB>DATE<TAB>SERIES<TAB>LISTINGS<TAB>FILE
//   changes: the lines of `kovra changes`
//   history: DATE<TAB>new, DATE<TAB>status|price|changed ..., DATE<TAB>last
//   note: DATE TIME<TAB>AUTHOR<TAB>TEXT per note
//   copy: copied<TAB>IMPORTS<TAB>NOTES (those the target did not hold)
#include "ArchiveJobs.h"
#include "ChangeLines.h"
#include "Output.h"

#include "Archive.h"
#include "ArchiveLocation.h"
#include "FileIO.h"
#include "UserSettings.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kovra::cli {

namespace {

using archive::Archive;

std::unique_ptr<Archive> OpenArchive(const std::string& given, archive::OpenMode mode)
{
    std::string location = given;
    if (location.empty()) {
        location = services::ArchiveLocation(services::ReadUserSettings());
        // The user's data folder may not be there yet.
        if (mode == archive::OpenMode::CreateWhenMissing && !archive::IsServerLocation(location)) {
            std::error_code ec;
            std::filesystem::create_directories(fileio::PathFromUtf8(location).parent_path(), ec);
        }
    }
    std::string message;
    std::unique_ptr<Archive> a = Archive::Open(location, mode, message);
    if (!a)
        PrintLine(stderr, message);
    return a;
}

void Put(std::string& out, std::string_view text, char end = '\t')
{
    out += text;
    out.push_back(end);
}

// A note's text on one line: backslash, TAB, CR and LF written as \\ \t \r \n.
void PutEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out.push_back(c);
        }
    }
    out.push_back('\n');
}

void Print(const std::string& out) { std::fwrite(out.data(), 1, out.size(), stdout); }

FindingLines LinesOf(const archive::ArchiveFinding& f, std::string_view lead = {})
{
    return {lead, f.number, f.kinds, f.oldStatus, f.newStatus, f.oldPrice, f.newPrice, f.fields};
}

} // namespace

bool RunArchiveImport(const ArchiveImportJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::CreateWhenMissing);
    if (!a)
        return false;
    archive::ImportOptions options;
    if (!job.series.empty())
        options.series = job.series;
    bool ok = true;
    for (const std::string& file : job.files) {
        const archive::ImportOutcome r = a->importFile(file, options);
        for (const std::string& number : r.duplicates)
            PrintLine(stderr, "duplicate: " + number);
        std::string out;
        const archive::ImportRecord& i = r.import;
        switch (r.status) {
        case archive::ImportOutcome::Status::Imported:
            out = "import\t" + std::to_string(i.id) + '\t' + i.date + '\t' + i.series + '\t' + std::to_string(i.listings) +
                  '\t' + std::to_string(r.newListings) + '\t' + std::to_string(r.goneListings) + '\t' +
                  std::to_string(r.changedListings) + '\t' + file;
            break;
        case archive::ImportOutcome::Status::Same: out = "same\t" + std::to_string(i.id) + '\t' + file; break;
        case archive::ImportOutcome::Status::Failed:
            PrintLine(stderr, r.message);
            ok = false;
            continue;
        }
        PrintLine(stdout, out);
        std::fflush(stdout);
    }
    return ok;
}

bool RunArchiveList(const ArchiveListJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::ExistingOnly);
    if (!a)
        return false;
    const auto r = a->imports();
    if (!r.ok()) {
        PrintLine(stderr, r.message);
        return false;
    }
    std::string out;
    for (const archive::ImportRecord& i : *r.value) {
        Put(out, "import");
        Put(out, std::to_string(i.id));
        Put(out, i.date);
        Put(out, i.series);
        Put(out, std::to_string(i.listings));
        Put(out, i.fileName, '\n');
    }
    Print(out);
    return true;
}

bool RunArchiveChanges(const ArchiveChangesJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::ExistingOnly);
    if (!a)
        return false;
    const auto r = a->changes(job.from, job.to);
    if (!r.ok()) {
        PrintLine(stderr, r.message);
        return false;
    }
    std::string out;
    for (const archive::ArchiveFinding& f : r.value->findings)
        AppendFindingLines(out, LinesOf(f));
    Print(out);
    return true;
}

bool RunArchiveHistory(const ArchiveHistoryJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::ExistingOnly);
    if (!a)
        return false;
    const auto r = a->history(job.number);
    if (!r.ok()) {
        PrintLine(stderr, r.message);
        return false;
    }
    const archive::ListingHistory& h = *r.value;
    std::string out = h.firstSeen + "\tnew\n";
    for (const archive::HistoryChange& c : h.changes) {
        const std::string lead = c.date + '\t';
        AppendFindingLines(out, LinesOf(c.finding, lead));
    }
    out += h.lastSeen + "\tlast\n";
    Print(out);
    return true;
}

bool RunArchiveNote(const ArchiveNoteJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::ExistingOnly);
    if (!a)
        return false;
    if (job.text) {
        const std::string author = services::ReadUserSettings().UserProfile.Name;
        const auto r = a->addNote(job.number, author, *job.text);
        if (!r.ok())
            PrintLine(stderr, r.message);
        return r.ok();
    }
    const auto r = a->notes(job.number);
    if (!r.ok()) {
        PrintLine(stderr, r.message);
        return false;
    }
    std::string out;
    for (const archive::Note& n : *r.value) {
        Put(out, n.writtenAt);
        Put(out, n.author);
        PutEscaped(out, n.text);
    }
    Print(out);
    return true;
}

bool RunArchiveBackup(const ArchiveBackupJob& job)
{
    const auto a = OpenArchive(job.archive, archive::OpenMode::ExistingOnly);
    if (!a)
        return false;
    const std::string message = a->backup(job.out);
    if (!message.empty())
        PrintLine(stderr, message);
    return message.empty();
}

bool RunArchiveCopy(const ArchiveCopyJob& job)
{
    const auto from = OpenArchive(job.from, archive::OpenMode::ExistingOnly);
    if (!from)
        return false;
    const auto to = OpenArchive(job.to, archive::OpenMode::CreateWhenMissing);
    if (!to)
        return false;
    const archive::CopyOutcome r = from->copyInto(*to);
    if (!r.ok) {
        PrintLine(stderr, r.message);
        return false;
    }
    PrintLine(stdout, "copied\t" + std::to_string(r.imports) + '\t' + std::to_string(r.notes));
    return true;
}

} // namespace kovra::cli
