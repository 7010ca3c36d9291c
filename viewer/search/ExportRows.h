// What every export format writes: a row of the fields' captions, then one
// row of the 94 display texts per listing, in field order.
#pragma once

#include "KovraRecord.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace kovra::search {

using ExportRow = std::array<std::string_view, kFieldCount>;

// The row views `listing`'s texts; it stays valid while the listing lives.
void FillRow(const TKovraDataClass& listing, ExportRow& row);

ExportRow CaptionRow();

std::filesystem::path PathFromUtf8(const std::string& utf8);

} // namespace kovra::search
