// The export run without any window: reads the template and FieldList,
// writes one page per listing into the output folder, and asks its caller
// (the worker thread's GUI calls, or `kovra html`) whenever it needs an
// answer.  Shared by the viewer, the command line and the benchmark.
#pragma once

#include "FileIO.h"
#include "HtmlPage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kovra::html {

// The largest template and FieldList read.  A template is one HTML page
// (every page of the run is a copy of it); a FieldList is some hundred
// short lines.
inline constexpr std::uint64_t kTemplateSizeLimit = 64ull << 20;
inline constexpr std::uint64_t kFieldListSizeLimit = 1ull << 20;

struct ExportJob {
    const TKovraDataClass* listings = nullptr; // table order
    int count = 0;
    // The listings that get pages, as 0-based indices into `listings`, in
    // the order the next/back links chain them (indices outside 0..count-1
    // are passed over).  Unset: all of them in table order.
    std::optional<std::vector<int>> only;
    std::string kensakuNengappi; // UTF-8
    UserTexts user;
    std::string templatePath;  // UTF-8 paths
    std::string fieldListPath;
    std::string outDir;
    std::string exportFile;    // the file the listings came from (empty: none)
};

enum class OverwriteAnswer {
    Overwrite,    // write this page
    OverwriteAll, // write this page and every later one without asking
    Keep,         // leave the existing page, go on with the next listing
    Cancel,       // end the run; pages already written stay
};

// A listing whose page was not written because its number cannot name a
// file inside the output folder.
struct SkippedPage {
    int index = 0;      // 0-based table index
    std::string number; // the listing number as it is
    std::string reason; // Japanese, UTF-8
};

// A listing number that more than one listing bears: its page is written
// once per listing, and the last one's stays.
struct DuplicateNumber {
    std::string number;
    int listings = 0;
};

struct ExportHooks {
    // Called when the page file exists already (unless an earlier answer
    // was OverwriteAll).  Not set: overwrite.
    std::function<OverwriteAnswer(const std::string& pagePath)> confirmOverwrite;
    // After each page has been saved (the page's place in the run, 0-based,
    // which is the listing's table index when the run writes all; its path).
    std::function<void(int index, const std::string& pagePath)> pageWritten;
    // When a page is skipped; the run goes on.
    std::function<void(const SkippedPage&)> pageSkipped;
    // A FieldList line is no placeholder; called once, then the run ends.
    std::function<void(int line, const std::string& text)> fieldListError;
    // Polled between pages: true ends the run as if cancelled.
    std::function<bool()> stopRequested;
};

struct ExportResult {
    enum class Status {
        Done,                // every listing handled (some may have been skipped or kept)
        NoListings,          // nothing to do
        TemplateUnreadable,
        FieldListUnreadable,
        FieldListError,      // a line that is no placeholder
        NoPageNameLine,      // FieldList lacks "/*BukkennNum*/": pages would have no name
        FolderMissing,
        OutputIsInput,       // a page would replace the template, FieldList or export file: nothing written
        WriteFailed,         // a page could not be written; the run ended there
        Cancelled,
    };
    Status status = Status::Done;
    int written = 0;
    int kept = 0;                      // existing pages left alone (OverwriteAnswer::Keep)
    std::vector<SkippedPage> skipped;
    std::string failedPath;            // the file a read or write failed on
    fileio::ReadResult readFailure;    // why the template or FieldList could not be read
    std::vector<DuplicateNumber> duplicates; // in the order of their first listing
    int fieldListErrorLine = 0;
    std::string fieldListErrorText;
    bool ok() const { return status == Status::Done && skipped.empty(); }
};

// Pages are written into the output folder itself: an entry there that is
// a symbolic link under a page's name is replaced by the page, and what it
// points to stays untouched.  Before the first page, every page of the run
// is checked against the run's inputs (template, FieldList, export file):
// when one would replace an input, nothing is written (OutputIsInput).
ExportResult ExportPages(const ExportJob& job, const ExportHooks& hooks);

// The first page path of the run that is one of its inputs, or nullopt.
// What ExportPages checks before it writes; the viewer asks before it
// starts a run, so its setup dialog can stay open.
std::optional<std::string> PageOverInput(const ExportJob& job);

// One-sentence Japanese account of a run that did not end plainly (empty
// for a plain success): what went wrong, or which listings were skipped.
std::string DescribeResult(const ExportResult& result);

// A listing number as a message can show it: control characters as "?",
// cut after 40 characters.
std::string PrintableNumber(std::string_view number);

// The page path of a listing number in `outDir` (UTF-8, native separators).
std::string PagePath(const std::string& outDir, std::string_view number);

} // namespace kovra::html
