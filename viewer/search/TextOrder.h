// Numbers in display texts and the order of texts, as the listing search
// sorts and filters them.
#pragma once

#include <optional>
#include <string_view>

namespace kovra::search {

// The numeric value of a display text after NFKC (a folded text will do:
// folding changes no digit, sign, comma or point).  When the text starts
// with a digit, or with "-" and a digit, the longest run of digits, ","
// and at most one "." is read as a decimal with the commas dropped:
// "2480万円" -> 2480, "104.28㎡" -> 104.28, "120,000円" -> 120000,
// "-5万円" -> -5.  Anything else has no value ("-----万円", "--,---円", "").
std::optional<double> NumericValue(std::string_view text);
// The same, telling how many bytes of `text` the run took.
std::optional<double> NumericValue(std::string_view text, std::size_t& used);

// A number the user typed ("1000", "１，０００", "-2.5"): the whole text
// after NFKC must be such a run.  None when it is not a number.
std::optional<double> ParseNumber(std::string_view text);

// Natural order of two folded texts: runs of ASCII digits compare by their
// value, everything else by code point, so "平成9年" < "平成10年".
// Negative, zero or positive like strcmp.
int NaturalCompare(std::string_view a, std::string_view b);

} // namespace kovra::search
