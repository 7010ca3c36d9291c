// Turns one listing line ("1,...") into its 94 display texts.
#pragma once

#include "KovraRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovra {

// Holds the scratch buffers of decoding so that a whole file is decoded
// without per-line allocations.  Not thread-safe; use one per thread.
class ListingDecoder {
public:
    ListingDecoder();
    // Decodes `line` (UTF-8).  Returns false on a conversion error: an
    // integer column holding text that is not an integer.  The record's
    // texts go into `arena` when given.
    bool decode(std::string_view line, TKovraDataClass& record, RecordArena* arena = nullptr);

private:
    std::string prepared_;
    std::vector<std::string_view> cols_;
    std::string scratch_;
    RecordBuilder builder_;
};

// Convenience form for single lines (tests, tools).
bool DecodeListingLine(TKovraDataClass& record, std::string_view line);

} // namespace kovra
