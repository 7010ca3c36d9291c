// The archive: every imported export file remembered, so that what changed
// between any two imports, and a listing's whole life, can be told later.
// Plain C++ over a Store (ArchiveStore.h); `kovra archive` and the viewer
// share it.  Every call returns what happened; nothing is shown here.
#pragma once

#include "ArchiveStore.h"
#include "TextBlocks.h"

#include "ListingDocument.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::archive {

class ImportWriter;
class ContentDigest;

using Clock = std::chrono::system_clock;

struct ImportRecord {
    std::int64_t id = 0;
    std::string date;     // the file's search date, yyyy-mm-dd
    std::string series;   // the search it comes from
    int listings = 0;     // listings in the file, each number once
    std::string fileName; // without its folder
};

struct ImportOptions {
    std::optional<std::string> series; // none: from the file's name
    Clock::time_point now = Clock::now();
    // A file is read and written about this many bytes at a time.
    std::size_t runBytes = 1 << 20;
};

struct ImportOutcome {
    enum class Status { Imported, Same, Failed };
    Status status = Status::Failed;
    // Imported: the new import.  Same: the earlier import of the same bytes
    // (its id; the rest as then).
    ImportRecord import;
    // Counted against the import before it in its series (by date), as
    // `kovra changes` counts: changed = listings in both with any finding.
    int newListings = 0, goneListings = 0, changedListings = 0;
    std::vector<std::string> duplicates; // numbers that stood more than once in the file
    std::string message;                 // Failed: why, for the user
};

// One listing's finding between two imports, with the texts its lines show.
struct ArchiveFinding {
    std::string number;
    unsigned kinds = 0;      // changes::Kind bits
    std::vector<int> fields; // fields whose text differs (listings in both)
    std::string oldStatus, newStatus, oldPrice, newPrice;
};

struct ArchiveChanges {
    ImportRecord from, to;
    std::vector<ArchiveFinding> findings; // in the order of `kovra changes`
};

// A listing's life: the first and last import it was in, and each later
// appearance whose texts differ from the one before.
struct HistoryChange {
    std::string date;
    std::int64_t importId = 0;
    ArchiveFinding finding; // number empty
};
struct ListingHistory {
    std::string firstSeen, lastSeen; // dates
    std::int64_t firstImport = 0, lastImport = 0;
    int appearances = 0;
    std::vector<HistoryChange> changes; // in date order
};

// What the listing browser's archive columns show for one listing: 初回掲載日,
// 掲載日数 (from the first to the last date seen), 前回価格 (the price before
// its last price change) and メモ (the newest note, and how many there are).
struct ListingSummary {
    std::string firstSeen, lastSeen;
    std::string previousPrice; // empty: the price never changed
    int notes = 0;
    std::string lastNote;
};

struct Note {
    std::string writtenAt; // yyyy-mm-dd hh:mm:ss, local time
    std::string author;
    std::string text;
};

// What a copy of a whole archive did.
struct CopyOutcome {
    bool ok = false;
    int imports = 0;       // imports the target did not hold before
    int notes = 0;         // notes the target did not hold before
    std::int64_t rows = 0; // rows written, every table
    std::string message;   // not ok: why, for the user
};

// A query's result or why there is none.
template <class T>
struct Result {
    std::optional<T> value;
    std::string message;
    bool ok() const { return value.has_value(); }
};

class Archive {
public:
    // Opens the archive at `location`, making it when asked and running the
    // migrations to the latest schema.  None, with `message` set, when it
    // cannot be opened; an archive of a newer program is left untouched.
    static std::unique_ptr<Archive> Open(const std::string& location, OpenMode mode, std::string& message);
    // The same over a store already open (the tests give each kind).
    static std::unique_ptr<Archive> Open(std::unique_ptr<Store> store, std::string& message);

    // Imports the export file at `path` in one transaction: all of it or,
    // after any failure (a bad line, a full disk, a kill), nothing.
    ImportOutcome importFile(const std::string& path, const ImportOptions& options = {});
    // Imports a file already loaded (the viewer's document); `contentSha256`
    // is of the file's bytes, `fileName` its name.
    ImportOutcome importDocument(const TListingDocument& doc, const Digest& contentSha256, std::string_view fileName,
                                 const ImportOptions& options = {});

    // Every import, in date order, then import order.
    Result<std::vector<ImportRecord>> imports();
    // What changed from import `from` to import `to`.  Without `to`: the
    // newest import (of `from`'s series when `from` is given); without
    // `from`: the import before `to` in its series.
    Result<ArchiveChanges> changes(std::optional<std::int64_t> from, std::optional<std::int64_t> to);
    Result<ListingHistory> history(std::string_view number);
    // The summaries of the listings `numbers`, in that order; a number the
    // archive has not seen gets an empty one.  Reads every presence row
    // once: for a whole file, off the window's thread.
    Result<std::vector<ListingSummary>> summaries(const std::vector<std::string_view>& numbers);
    // Loads an import's listings, in the file's order, as a document for
    // the change view (KensakuNengappi stays empty).
    Result<bool> loadImport(std::int64_t id, TListingDocument& doc);

    // Notes are only ever added, each with its author and time.
    Result<bool> addNote(std::string_view number, std::string_view author, std::string_view text,
                         Clock::time_point now = Clock::now());
    Result<std::vector<Note>> notes(std::string_view number);

    // A consistent copy of the archive into the file `out`, while others
    // may be using it; empty when done, else the message.  An archive on a
    // server is copied into a new SQLite file.
    std::string backup(const std::string& out);

    // Copies every import that `target` lacks (with its id, date, series,
    // listings and texts) and every note it lacks, in one transaction of
    // `target`: all of it or nothing.  `target` must be empty or hold only
    // imports of this archive under the same ids (an earlier copy), so a
    // second copy adds nothing.
    CopyOutcome copyInto(Archive& target);

    const std::string& location() const { return store_->location(); }
    ~Archive();

private:
    explicit Archive(std::unique_ptr<Store> store);
    // Hands the writer the file's listings, asking `goOn` between runs (a
    // file imported before stops there), and says the file's search date
    // (an era date); false, with the message, when the file failed or
    // `goOn` said stop.
    using ImportFeed = std::function<bool(ImportWriter& writer, const std::function<bool()>& goOn,
                                          std::string& searchDate, std::string& message)>;
    // One import in one transaction: the claim of the file's bytes, what
    // `feed` hands the writer, the presence rows and the counts.
    ImportOutcome importRuns(ContentDigest& digest, std::string_view fileName, const ImportOptions& options,
                             const ImportFeed& feed);
    // Where the import could not write: makes `outcome` Same when the
    // archive holds the digest's file already.
    void importedBefore(ContentDigest& digest, ImportOutcome& outcome);
    std::string backupIntoFile(const std::string& out);
    class Work;
    std::unique_ptr<Store> store_;
};

} // namespace kovra::archive
