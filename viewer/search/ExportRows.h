// What every export format writes: a row of captions, then rows of texts.
// The listing export's rows are the 94 display texts in field order; other
// sheets (what changed between two files) put columns of their own first.
#pragma once

#include "KovraRecord.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

using ExportRow = std::vector<std::string_view>;

// The rows a writer puts into its file.  The views a call fills stay
// valid until the next call on the same object.
class SheetRows {
public:
    virtual ~SheetRows() = default;
    virtual std::size_t columnCount() const = 0;
    virtual std::size_t rowCount() const = 0;
    virtual void captions(ExportRow& row) const = 0;
    virtual void fill(std::size_t n, ExportRow& row) const = 0; // n < rowCount()
    // The name of the sheet an XLSX gives the rows.
    virtual std::string_view sheetName() const { return "物件一覧"; }
    // Row n as a listing's own 94 texts in field order, when it is one
    // (writers may then read the listing directly, writing the fields of
    // blankFields() empty); null otherwise.
    virtual const TKovraDataClass* listingAt(std::size_t) const { return nullptr; }
    virtual FieldSet blankFields() const { return {}; }
};

// listings[order[0]], listings[order[1]] ... under the fields' captions,
// the fields of `blank` empty.
class ListingRows : public SheetRows {
public:
    ListingRows(std::span<const TKovraDataClass> listings, std::span<const int> order, const FieldSet& blank = {})
        : listings_(listings), order_(order), blank_(blank)
    {
    }
    std::size_t columnCount() const override { return kFieldCount; }
    std::size_t rowCount() const override { return order_.size(); }
    void captions(ExportRow& row) const override;
    void fill(std::size_t n, ExportRow& row) const override;
    const TKovraDataClass* listingAt(std::size_t n) const override
    {
        return &listings_[static_cast<std::size_t>(order_[n])];
    }
    FieldSet blankFields() const override { return blank_; }

private:
    std::span<const TKovraDataClass> listings_;
    std::span<const int> order_;
    FieldSet blank_;
};

// The 94 texts of `listing`, appended to `row`; they stay valid while the
// listing lives.
void AppendListingTexts(const TKovraDataClass& listing, ExportRow& row);
// The 94 fields' captions, appended to `row`.
void AppendFieldCaptions(ExportRow& row);

std::filesystem::path PathFromUtf8(const std::string& utf8);

} // namespace kovra::search
