// The texts the change view shows: the price line of the listing on show
// and the counts of the quick filters.  Plain C++, so that what the window
// says is tested without it.
#pragma once

#include "ListingChanges.h"

#include <string>
#include <string_view>

namespace kovra::changes {

// The older and the newer price of one listing as one line:
// "前回 2680万円 → 2480万円 (−200万円, −7.5%)".  The difference carries the
// newer text's unit; without a number on either side the parentheses go,
// and a price whose text stayed reads "前回と同じ価格 2480万円".
std::string PriceLine(std::string_view before, std::string_view after);

// The signed difference of two prices in the newer text's unit ("−200万円",
// "+0.5万円", "±0万円"); empty when either has no number.
std::string DifferenceCell(std::string_view before, std::string_view after);

// The quick filter's name as offered ("値下げ").
std::string_view FilterName(QuickFilter filter);

// The counts of the quick filters that found any listing, joined with "・":
// "新規 12・値下げ 5・成約 3・消滅 7".  変更あり, which holds every listing
// in both files that changed, is named only when no other filter found
// any ("変更あり 4").  Empty when nothing changed.
std::string FilterCounts(const Comparison& comparison);

} // namespace kovra::changes
