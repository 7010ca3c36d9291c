// The spreadsheet of what changed: one row per listing with a finding, in
// the findings' order.  First 変更 (the kinds joined with "・"), 前回価格,
// 今回価格, 価格差 (the difference of the prices' numbers, empty when either
// has none) and 変更項目 (the captions of the fields whose text differs,
// joined with "、"); then the 94 texts, the newer file's (the older file's
// for a gone listing).
#pragma once

#include "ExportRows.h"
#include "ListingChanges.h"

#include <string>

namespace kovra::changes {

class ChangeRows : public search::SheetRows {
public:
    ChangeRows(const Comparison& comparison, const TListingDocument& before, const TListingDocument& after)
        : comparison_(comparison), before_(before), after_(after)
    {
    }
    std::size_t columnCount() const override { return kOwnColumns + kFieldCount; }
    std::size_t rowCount() const override { return comparison_.findings.size(); }
    void captions(search::ExportRow& row) const override;
    void fill(std::size_t n, search::ExportRow& row) const override;

    static constexpr std::size_t kOwnColumns = 5;

private:
    const Comparison& comparison_;
    const TListingDocument& before_;
    const TListingDocument& after_;
    mutable std::string kinds_, difference_, fields_;
};

// The kinds of a finding as the 変更 column shows them: "価格変更・項目変更".
std::string KindsText(unsigned kinds);
// A price difference as a plain decimal: "-200", "12.5".
std::string DifferenceText(double difference);

} // namespace kovra::changes
