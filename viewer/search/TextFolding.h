// Folding makes texts comparable the way a broker reads them: full- and
// half-width forms, upper and lower case, hiragana and katakana count as
// the same ("まんしょん" finds "マンション", "ｌｄｋ" finds "LDK").
// Folded text = NFKC, then full case folding, then hiragana U+3041-U+3096
// moved to katakana.  The same folding applies to listing texts and to
// what the user types.
#pragma once

#include "LargeMemory.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

// The search index keeps all folded texts of a file in one such string.
using LargeString = std::basic_string<char, std::char_traits<char>, LargeAllocator<char>>;

// Appends the folded form of `text` (UTF-8) to `out`.
template <class String>
void AppendFolded(std::string_view text, String& out);
extern template void AppendFolded(std::string_view, std::string&);
extern template void AppendFolded(std::string_view, LargeString&);

std::string FoldText(std::string_view text);

// Splits `text` at white space after NFKC (so U+3000 separates too) and
// returns the pieces, not yet folded; empty pieces are dropped.
std::vector<std::string> SplitAtWhiteSpace(std::string_view text);

} // namespace kovra::search
