#include "ExportRows.h"

#include "FieldCaptions.h"

namespace kovra::search {

void AppendListingTexts(const TKovraDataClass& listing, ExportRow& row)
{
    const std::size_t first = row.size();
    row.resize(first + kFieldCount);
    listing.forEachField([&](int f, std::string_view text, Word) { row[first + static_cast<std::size_t>(f)] = text; });
}

void AppendFieldCaptions(ExportRow& row)
{
    for (int f = 0; f < kFieldCount; ++f)
        row.push_back(fieldCaption(f));
}

void ListingRows::captions(ExportRow& row) const
{
    row.clear();
    AppendFieldCaptions(row);
}

void ListingRows::fill(std::size_t n, ExportRow& row) const
{
    row.clear();
    AppendListingTexts(listings_[static_cast<std::size_t>(order_[n])], row);
    if (blank_.any())
        for (std::size_t f = 0; f < row.size(); ++f)
            if (blank_[f])
                row[f] = {};
}

std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace kovra::search
