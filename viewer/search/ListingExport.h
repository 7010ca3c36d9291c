// Writing listings to a spreadsheet file: the 94 display texts in field
// order, one row per listing, under a row of the fields' captions.
#pragma once

#include "KovraRecord.h"

#include <span>
#include <string>
#include <string_view>

namespace kovra::search {

enum class ExportFormat { Csv, Xlsx };

struct ExportOutcome {
    bool ok = false;
    int rows = 0;           // listings written
    int shortenedCells = 0; // XLSX: texts cut to the longest a cell holds
    std::string message;    // why it failed, for the user
};

// Writes listings[order[0]], listings[order[1]] ... to `path` (UTF-8).
ExportOutcome ExportListings(std::span<const TKovraDataClass> listings, std::span<const int> order, ExportFormat format,
                             const std::string& path);

// One CSV value: a text that a spreadsheet would run as a formula gets a
// leading "'"; a text holding a comma, a double quote, CR or LF is quoted.
void AppendCsvValue(std::string& out, std::string_view text);

} // namespace kovra::search
