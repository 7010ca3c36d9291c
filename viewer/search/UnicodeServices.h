// The few Unicode services the search folding needs from a library.  They
// sit behind this small interface so a platform can bring its own: this
// build's implementation is UnicodeServicesIcu.cpp, the only file that
// calls ICU.  Texts are UTF-8; invalid bytes read as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kovra::search::unicode {

// Unicode normalization form KC.
std::string Nfkc(std::string_view text);

// Full case folding (the default mappings, no Turkic special case).
std::string CaseFold(std::string_view text);

// True when NFKC never joins `c` with the text before it, so text may be
// normalized in pieces cut just before such characters.  A backend that
// cannot tell may answer false throughout: that costs speed, not results.
bool NfkcBoundaryBefore(char32_t c);

// The Unicode White_Space property.
bool IsWhiteSpace(char32_t c);

} // namespace kovra::search::unicode
