// The few Unicode services the search folding needs from a library.  They
// sit behind this small interface so a platform can bring its own:
// UnicodeServicesIcu.cpp (ICU, the only file that calls it) on Linux,
// UnicodeServicesWin.cpp (the system's own functions) on Windows.  Texts
// are UTF-8; invalid bytes read as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kovra::search::unicode {

// Unicode normalization form KC.
std::string Nfkc(std::string_view text);

// Case folding: full folding with the default mappings, no Turkic special
// case.  A backend may fold less where no text from a CP932 file can tell
// (the Windows one lowercases; see there).
std::string CaseFold(std::string_view text);

// True when NFKC never joins `c` with the text before it, so text may be
// normalized in pieces cut just before such characters.  A backend that
// cannot tell may answer false throughout: that costs speed, not results.
bool NfkcBoundaryBefore(char32_t c);

// The Unicode White_Space property.
bool IsWhiteSpace(char32_t c);

} // namespace kovra::search::unicode
