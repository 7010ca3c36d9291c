#include "ExportRows.h"

#include "FieldCaptions.h"

namespace kovra::search {

void FillRow(const TKovraDataClass& listing, ExportRow& row)
{
    row.fill({});
    listing.forEachField([&](int f, std::string_view text, Word) { row[static_cast<std::size_t>(f)] = text; });
}

ExportRow CaptionRow()
{
    ExportRow row;
    for (int f = 0; f < kFieldCount; ++f)
        row[static_cast<std::size_t>(f)] = fieldCaption(f);
    return row;
}

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace kovra::search
