// Which export texts a spreadsheet may hold as numbers: a text that is its
// numeric value by the search's number rule (TextOrder.h), followed only by
// a short unit without digits ("2480万円", "104.28㎡", "120,000円", "8分").
// Such a cell gets the number and a display format that shows exactly the
// text, so a broker can sum, average and sort while reading what the file
// says; every other text stays text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kovra::search {

struct NumberCell {
    double value = 0;
    std::string digits; // the value as the file stores it: "120000", "104.28", "-5"
    std::string format; // the spreadsheet's number format: 0, #,##0, 0.00 ... then the unit quoted
};

// The longest unit, in characters, that follows a number cell's digits.
inline constexpr int kLongestUnit = 4;

// The number cell of `text`, or nullopt when the text must stay text: no
// number at its start, a unit with a digit, a '"' or longer than
// kLongestUnit characters, or digits no format shows as written (leading
// zeros, irregular commas, "-0", a bare ".", more than 15 digits).
std::optional<NumberCell> NumberCellOf(std::string_view text);

} // namespace kovra::search
