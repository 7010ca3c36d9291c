// One loaded export file (a document) and the loader that fills it.
#pragma once

#include "KovraRecord.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace kovra {

// The loaded file's state.  The table grows with the file (no fixed limit);
// entries 0..ListingCount-1 are valid.
struct TListingDocument {
    RecordArena Arena; // the texts of the records below
    std::vector<TKovraDataClass> ListingTable;
    int ListingCount = 0;
    std::string CurrentFileName; // UTF-8 path of the file last chosen for loading
    std::string KensakuNengappi;  // search date of the loaded file, as an era date
};

// The program-wide instance the windows, the report and the HTML export read.
TListingDocument& Listings();

// What a load did; the caller shows it.
struct LoadOutcome {
    enum class Status {
        Ok,              // listings loaded
        NoListings,      // file read, but no listing line: message box, total 0
        ConversionError, // stopped at `errorLine`: message box, caption "ファイル読込エラー"
        CannotOpen,      // file could not be opened (missing, a folder, a FIFO, a device): nothing changed
        ReadFailed,      // reading stopped early (an error, the file shrank): ListingCount 0, caption "ファイル読込エラー"
    };
    Status status = Status::Ok;
    int count = 0;            // ListingCount after the load
    std::int64_t errorLine = 0; // 1-based line of a conversion error
    std::string message;      // message box text (UTF-8), empty when Ok
    std::string totalCaption; // DataHighNumLbl caption: "/ 全物件数 N" or "ファイル読込エラー"
    std::string title;        // window title "Kovra Viewer  name"; empty when it must not change
    bool ok() const { return status == Status::Ok; }
};

// Loads the export file at `path` (UTF-8) into `data`.  Every load starts with
// an empty table and an empty search date; a file that cannot be opened
// (only regular files are read) leaves `data` as it was.  The caller sets
// CurrentFileName first.
LoadOutcome LoadListingFile(TListingDocument& data, const std::string& path);

// Loads from bytes already in memory (the fuzzers and the benchmarks use it).
LoadOutcome LoadListingBytes(TListingDocument& data, std::string_view bytes, std::string_view fileName);

inline constexpr std::size_t kLoadChunkBytes = 16 << 20;

// Loads from a stream read `chunkBytes` at a time, so a big file never sits
// in memory whole (LoadListingFile reads its file the same way; the tests
// use small chunks).  A stream that goes bad is a ReadFailed load.
LoadOutcome LoadListingStream(TListingDocument& data, std::istream& in, std::string_view fileName,
                              std::size_t chunkBytes = kLoadChunkBytes);

} // namespace kovra
