// The broker ("member") items of a listing: the fee, the member's number,
// name and telephone, the person in charge, the enquiry telephone and the
// e-mail.  One list for every place that leaves them out: the
// member-stripped save blanks their columns in the file, and with the
// member display off the windows neither show nor search their fields.
#pragma once

#include "FieldNames.h"

#include <array>
#include <cstddef>

namespace kovra {

struct MemberItem {
    int column; // in a listing line of the export file (0-based)
    Field field; // the display field decoded from it
};

inline constexpr MemberItem kMemberItems[] = {
    {38, Field::Housyuu}, {42, Field::KaiinNum},    {43, Field::KaiinMei}, {44, Field::Tel},
    {84, Field::Tantou},  {85, Field::ToiawaseTel}, {86, Field::EMail},
};

inline constexpr std::size_t kMemberItemCount = std::size(kMemberItems);

// The file columns of the member items, ascending.
inline constexpr std::array<int, kMemberItemCount> kMemberColumns = [] {
    std::array<int, kMemberItemCount> columns{};
    for (std::size_t k = 0; k < kMemberItemCount; ++k)
        columns[k] = kMemberItems[k].column;
    return columns;
}();

inline bool IsMemberField(int field)
{
    for (const MemberItem& item : kMemberItems)
        if (static_cast<int>(item.field) == field)
            return true;
    return false;
}

inline FieldSet MemberFields()
{
    FieldSet fields;
    for (const MemberItem& item : kMemberItems)
        fields.set(static_cast<std::size_t>(item.field));
    return fields;
}

} // namespace kovra
