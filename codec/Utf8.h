// Reading and writing UTF-8 one code point at a time: the codec, the search's
// folding and the cell widths share it.  Malformed bytes read as U+FFFD, one byte each.
#pragma once

#include <string>

namespace kovra::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the code point at `p` (p < end) and moves `p` past it.
inline char32_t Next(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p;
    if (c < 0x80) {
        ++p;
        return c;
    }
    int more = 0;
    char32_t cp = 0, min = 0;
    if ((c & 0xE0) == 0xC0) {
        more = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        more = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        more = 3, cp = c & 0x07, min = 0x10000;
    } else {
        ++p;
        return kReplacement;
    }
    if (end - p <= more) {
        ++p;
        return kReplacement;
    }
    for (int i = 1; i <= more; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return kReplacement;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++p;
        return kReplacement;
    }
    p += more + 1;
    return cp;
}

template <class String = std::string>
inline void Append(char32_t cp, String& out)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace kovra::utf8
