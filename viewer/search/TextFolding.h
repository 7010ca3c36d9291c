// Folding makes texts comparable the way a broker reads them: full- and
// half-width forms, upper and lower case, hiragana and katakana count as
// the same ("まんしょん" finds "マンション", "ｌｄｋ" finds "LDK").
// Folded text = NFKC, then full case folding, then hiragana U+3041-U+3096
// moved to katakana.  The same folding applies to listing texts and to
// what the user types.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

// Appends the folded form of `text` (UTF-8) to `out`.
void AppendFolded(std::string_view text, std::string& out);

std::string FoldText(std::string_view text);

// Splits `text` at white space after NFKC (so U+3000 separates too) and
// returns the pieces, not yet folded; empty pieces are dropped.
std::vector<std::string> SplitAtWhiteSpace(std::string_view text);

} // namespace kovra::search
