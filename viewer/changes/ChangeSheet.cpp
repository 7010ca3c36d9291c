#include "ChangeSheet.h"

#include "FieldCaptions.h"
#include "MessageTexts.h"

#include <charconv>
#include <cmath>

namespace kovra::changes {

namespace {

constexpr std::string_view kKindSeparator = "・";
// Captions hold "・" themselves ("建築条件・建物賃貸借区分").
constexpr std::string_view kFieldSeparator = "、";

} // namespace

std::string KindsText(unsigned kinds)
{
    static constexpr std::pair<unsigned, std::string_view> kNames[] = {
        {New, msg::kChangeNew},       {Gone, msg::kChangeGone},     {StatusChanged, msg::kChangeStatus},
        {PriceChanged, msg::kChangePrice}, {FieldsChanged, msg::kChangeFields},
    };
    std::string text;
    for (const auto& [kind, name] : kNames) {
        if (!(kinds & kind))
            continue;
        if (!text.empty())
            text += kKindSeparator;
        text += name;
    }
    return text;
}

std::string DifferenceText(double difference)
{
    // Prices carry a few decimals at most; rounding drops the binary
    // fractions a subtraction leaves (2480.3 - 2480.1).
    double rounded = std::round(difference * 1e6) / 1e6;
    if (rounded == 0)
        rounded = 0; // no "-0"
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

void ChangeRows::captions(search::ExportRow& row) const
{
    row.assign({msg::kChangeColumnKinds, msg::kChangeColumnOldPrice, msg::kChangeColumnNewPrice,
                msg::kChangeColumnPriceDifference, msg::kChangeColumnFields});
    search::AppendFieldCaptions(row);
}

void ChangeRows::fill(std::size_t n, search::ExportRow& row) const
{
    const Finding& f = comparison_.findings[n];
    const TKovraDataClass* older = f.oldIndex >= 0 ? &before_.ListingTable[static_cast<std::size_t>(f.oldIndex)] : nullptr;
    const TKovraDataClass* newer = f.newIndex >= 0 ? &after_.ListingTable[static_cast<std::size_t>(f.newIndex)] : nullptr;
    kinds_ = KindsText(f.kinds);
    difference_.clear();
    if (older && newer)
        if (const std::optional<double> d = PriceDifference(older->Kakaku(), newer->Kakaku()))
            difference_ = DifferenceText(*d);
    fields_.clear();
    for (const int field : f.fields) {
        if (!fields_.empty())
            fields_ += kFieldSeparator;
        fields_ += fieldCaption(field);
    }
    row.assign({kinds_, older ? older->Kakaku() : std::string_view(), newer ? newer->Kakaku() : std::string_view(),
                difference_, fields_});
    search::AppendListingTexts(newer ? *newer : *older, row);
}

} // namespace kovra::changes
