// One loaded export file (a document), the loader that fills it, and the
// load that says what went wrong.
#pragma once

#include "KovraRecord.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace kovra {

// What a load did; LoadAndSay tells the user, the windows show the rest.
struct LoadOutcome {
    enum class Status {
        Ok,              // listings loaded
        NoListings,      // file read, but no listing line: message box, total 0
        ConversionError, // stopped at `errorLine`: message box, caption "ファイル読込エラー"
        CannotOpen,      // file could not be opened (missing, a folder, a FIFO, a device): nothing changed
        ReadFailed,      // reading stopped early (an error, the file shrank): ListingCount 0, caption "ファイル読込エラー"
        InUse,           // a run reads the document on show: nothing was loaded
    };
    Status status = Status::Ok;
    int count = 0;            // ListingCount after the load
    std::int64_t errorLine = 0; // 1-based line of a conversion error
    std::string message;      // message box text (UTF-8), empty when Ok
    std::string totalCaption; // DataHighNumLbl caption: "/ 全物件数 N" or "ファイル読込エラー"
    std::string title;        // window title "Kovra Viewer  name"; empty when it must not change
    bool ok() const { return status == Status::Ok; }
    // Whether the load's document takes the place of the one on show: every
    // load that read the file does, a successful one or not.
    bool replacesDocument() const { return status != Status::CannotOpen && status != Status::InUse; }
};

// One load of one export file.  Filled once by the loader, then only read:
// the windows, the runs and the search share it (DocumentPtr), so it stays
// whole for as long as any of them reads it, even after a later load has
// taken its place on show.  The table grows with the file (no fixed limit);
// entries 0..ListingCount-1 are valid.
struct TListingDocument {
    RecordArena Arena; // the texts of the records below
    std::vector<TKovraDataClass> ListingTable;
    int ListingCount = 0;
    std::string CurrentFileName; // UTF-8 path of the file loaded
    std::string KensakuNengappi;  // search date of the loaded file, as an era date
    LoadOutcome Outcome;          // what the load that made the document did

    // Set while a run (the HTML export) reads the document: the window set
    // then loads no other file in its place and does not end.
    bool InUseByRun() const { return runsReading_ > 0; }

private:
    friend class DocumentSlot;
    int runsReading_ = 0; // GUI thread only
};

using DocumentPtr = std::shared_ptr<const TListingDocument>;

// Loads the export file at `path` (UTF-8) into `data`.  Every load starts with
// an empty table and an empty search date; a file that cannot be opened
// (only regular files are read) leaves `data` as it was.  The outcome is
// also kept in data.Outcome, but for a file that could not be opened.
LoadOutcome LoadListingFile(TListingDocument& data, const std::string& path);

// Loads from bytes already in memory (the fuzzers and the benchmarks use it).
LoadOutcome LoadListingBytes(TListingDocument& data, std::string_view bytes, std::string_view fileName);

inline constexpr std::size_t kLoadChunkBytes = 16 << 20;

// Loads from a stream read `chunkBytes` at a time, so a big file never sits
// in memory whole (LoadListingFile reads its file the same way; the tests
// use small chunks).  A stream that goes bad is a ReadFailed load.
LoadOutcome LoadListingStream(TListingDocument& data, std::istream& in, std::string_view fileName,
                              std::size_t chunkBytes = kLoadChunkBytes);

// Receives a run of a file's listings (run.ListingTable, in file order,
// the first of them the file's listing `first`, 0-based) and may take them
// away (the table with its arena); false stops the read.
using ListingSink = std::function<bool(TListingDocument& run, std::int64_t first)>;

// Reads the export file at `path` as LoadListingFile does (the same
// outcomes, messages and line numbers) but holds no more than about
// `chunkBytes` of it at a time: each run of listings goes to `sink` and is
// dropped when the sink returns.  Afterwards `data` holds no listings; its
// ListingCount is how many the sink had and KensakuNengappi the file's
// search date (of its last header line).  Whatever the sink had before a
// failure is the caller's to undo.
LoadOutcome StreamListingFile(TListingDocument& data, const std::string& path, const ListingSink& sink,
                              std::size_t chunkBytes = kLoadChunkBytes);

// Loads `path` into a new document whose CurrentFileName is `path`.
std::shared_ptr<TListingDocument> LoadListingDocument(const std::string& path);

// Loads `path` into a new document and tells the user what went wrong
// through the prompter: the viewer's message boxes, `kovra`'s stderr.
// `replace` receives a document that takes the place of the one on show
// (replacesDocument): after the message of a load that stopped, before the
// one of a file without listings, so the window shows what the message
// speaks of.
std::shared_ptr<TListingDocument> LoadAndSay(
    const std::string& path, QWidget* owner = nullptr,
    const std::function<void(std::shared_ptr<TListingDocument>)>& replace = {});

// The listings a run over a chosen set works on: `chosen` (0-based table
// indices, in their order) without those outside 0..count-1; unset: all
// of them in table order.
std::vector<int> ChosenListings(const std::optional<std::vector<int>>& chosen, int count);

} // namespace kovra
