// The short title of a field, as a column head or a row of a sheet shows
// it: the word a broker uses ("価格", "間取り") where the field's caption is
// long, numbered or bracketed ("価格（成約価格）", "部屋数"), else the
// caption itself.
#pragma once

#include "FieldCaptions.h"

#include <array>
#include <string_view>

namespace kovra {

struct FieldShortTitle {
    Field field;
    std::string_view title;
};

inline constexpr std::array<FieldShortTitle, 5> kFieldShortTitles = {{
    {Field::TourokuNenGappi, "登録日"},
    {Field::Kakaku, "価格"},
    {Field::Koutuu, "交通"},
    {Field::Toho0, "徒歩"},
    {Field::HeyaKazu, "間取り"},
}};

namespace detail {
constexpr bool shortTitlesAreNewNames()
{
    for (const FieldShortTitle& s : kFieldShortTitles)
        for (const FieldCaption& c : kFieldCaptionTable)
            if (s.title == c.caption)
                return false;
    return true;
}
} // namespace detail
static_assert(detail::shortTitlesAreNewNames(), "a short title is never some field's caption");

// Column title of field `index` (0..93).
constexpr std::string_view fieldColumnTitle(int index)
{
    for (const FieldShortTitle& s : kFieldShortTitles)
        if (static_cast<int>(s.field) == index)
            return s.title;
    return fieldCaption(index);
}

} // namespace kovra
