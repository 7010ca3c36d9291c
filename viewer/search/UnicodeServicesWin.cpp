// Windows implementation of the search's Unicode services: the system's own
// normalization (normaliz.dll) and case mapping, so the Windows build needs
// no ICU.  Texts cross to UTF-16 and back here; the decoding of Utf8.h
// keeps invalid bytes as U+FFFD, so the system never sees a lone surrogate.
#include "UnicodeServices.h"

#include "Utf8.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>

namespace kovra::search::unicode {

namespace {

std::wstring ToUtf16(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const char32_t c = utf8::Next(p, end);
        if (c >= 0x10000) {
            out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = utf8::kReplacement;
        utf8::Append(c, out);
    }
    return out;
}

// NFKC of a UTF-16 text; the text as it is when the system refuses it.
std::wstring NfkcUtf16(const std::wstring& source)
{
    if (source.empty() || source.size() > INT_MAX / 4)
        return source;
    const int length = static_cast<int>(source.size());
    int estimate = NormalizeString(NormalizationKC, source.data(), length, nullptr, 0);
    // The first answer is an estimate; a short buffer brings a better one.
    for (int attempt = 0; attempt < 4 && estimate > 0; ++attempt) {
        std::wstring out(static_cast<std::size_t>(estimate), L'\0');
        const int written = NormalizeString(NormalizationKC, source.data(), length, out.data(), estimate);
        if (written > 0) {
            out.resize(static_cast<std::size_t>(written));
            return out;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        estimate = -written;
    }
    return source;
}

// First code point of a UTF-16 text that is not empty.
char32_t FirstCodePoint(const std::wstring& text)
{
    const char32_t c = static_cast<char16_t>(text[0]);
    if (c >= 0xD800 && c <= 0xDBFF && text.size() > 1)
        return 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[1]) - 0xDC00);
    return c;
}

} // namespace

std::string Nfkc(std::string_view text)
{
    return ToUtf8(NfkcUtf16(ToUtf16(text)));
}

// Windows offers lowercasing, not full case folding.  For the texts this
// program folds the two agree: a CP932 file holds Latin, Greek and Cyrillic
// letters only, and after NFKC none of them is one whose full folding
// differs from its lowercase (ß, final ς, the ﬁ ligatures, İ: not in CP932
// or taken apart by NFKC first).  What a user types beyond CP932 may fold
// a little less than with ICU ("ß" does not find "ss").
std::string CaseFold(std::string_view text)
{
    std::wstring source = ToUtf16(text);
    if (source.empty() || source.size() > INT_MAX)
        return std::string(text);
    const int length = static_cast<int>(source.size());
    const DWORD flags = LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING; // Unicode's mappings, not the file system's
    const int size = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, source.data(), length, nullptr, 0, nullptr, nullptr, 0);
    if (size <= 0)
        return ToUtf8(source);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    const int written = LCMapStringEx(LOCALE_NAME_INVARIANT, flags, source.data(), length, out.data(), size, nullptr, nullptr, 0);
    if (written <= 0)
        return ToUtf8(source);
    out.resize(static_cast<std::size_t>(written));
    return ToUtf8(out);
}

// The system cannot say this directly, so the answer is worked out and
// errs towards "false", which only costs speed:
// - NFKC must start `c` with a starter: a combining mark put between a
//   plain character and `c` must stay where it is, whether its class is the
//   lowest (U+0334) or the highest (U+0345), or `c` would move past it;
// - that starter must not be one that composes with the character before
//   it.  Such starters exist only in U+0900-U+1DFF (Indic vowel signs,
//   Hangul medial and final jamo, ...) and beyond the BMP; characters
//   starting there always answer false.  Kana, kanji, Latin and the
//   full-width forms keep their fast path.
bool NfkcBoundaryBefore(char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    std::string alone;
    utf8::Append(c, alone);
    const std::wstring normalized = NfkcUtf16(ToUtf16(alone));
    if (normalized.empty())
        return false;
    const char32_t first = FirstCodePoint(normalized);
    if (first >= 0x10000 || (first >= 0x0900 && first <= 0x1DFF))
        return false;
    const wchar_t plain = L'\u4E00', lowest = L'\u0334', highest = L'\u0345';
    const wchar_t firstUnit = static_cast<wchar_t>(first);
    for (const std::wstring& probe : {std::wstring{plain, highest, firstUnit}, std::wstring{plain, firstUnit, lowest}}) {
        if (NfkcUtf16(probe) != probe)
            return false;
    }
    return true;
}

// The Unicode White_Space property, which Windows does not expose: a short
// fixed list, unchanged since Unicode 6.3.
bool IsWhiteSpace(char32_t c)
{
    switch (c) {
    case 0x0009: case 0x000A: case 0x000B: case 0x000C: case 0x000D: case 0x0020: case 0x0085: case 0x00A0:
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

} // namespace kovra::search::unicode
