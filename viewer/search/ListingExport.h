// Writing listings to a spreadsheet file: the 94 display texts in field
// order, one row per listing, under a row of the fields' captions.  CSV
// is written everywhere; XLSX (XlsxExport.h) only where zlib is.
#pragma once

#include "ExportRows.h"
#include "FileIO.h"
#include "KovraRecord.h"

#include <span>
#include <string>
#include <string_view>

namespace kovra::search {

struct ExportOutcome {
    bool ok = false;
    int rows = 0;           // listings written
    int shortenedCells = 0; // XLSX: texts cut to the longest a cell holds
    std::string message;    // why it failed, for the user
    bool outputIsInput = false; // refused: the file chosen is the export file itself
};

// One format: fills the file at `path` (UTF-8) with the caption row and
// the rows; false when that failed.
using SheetWriter = bool (*)(const SheetRows& rows, const std::string& path, ExportOutcome& outcome);

// Writes the rows to `path` with `write`, through a temporary file, so a
// failure leaves any earlier file at `path` as it was.  A `path` that is
// one of `inputs` (the export files the rows came from) is refused and
// nothing is written.
ExportOutcome ExportSheet(const SheetRows& rows, SheetWriter write, const std::string& path,
                          const fileio::JobInputs& inputs);

// The listings listings[order[0]], listings[order[1]] ... as ExportSheet
// writes them, the fields of `blank` empty.
ExportOutcome ExportListings(std::span<const TKovraDataClass> listings, std::span<const int> order, SheetWriter write,
                             const std::string& path, const fileio::JobInputs& inputs, const FieldSet& blank = {});

// The CSV format: UTF-8 with a byte order mark, CRLF line ends.
bool WriteCsv(const SheetRows& rows, const std::string& path, ExportOutcome& outcome);

// One CSV value: a text that a spreadsheet would run as a formula gets a
// leading "'"; a text holding a comma, a double quote, CR or LF is quoted.
void AppendCsvValue(std::string& out, std::string_view text);
// One CSV row of such values, ended by CR LF.
void AppendCsvRow(std::string& out, std::span<const std::string_view> row);

} // namespace kovra::search
