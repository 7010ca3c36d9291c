// Code page 932 (Windows Shift-JIS) <-> UTF-8.
//
// The one converter of the program and of the print engine: listing files,
// templates, print data and format files are all CP932 on disk, while the
// program keeps every text in UTF-8.  The tables follow Windows exactly,
// with the NEC and IBM extension rows; 0x5C stays "\" and 0x7E stays "~".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp932 {

// Appends the UTF-8 form of `bytes` to `out`.  A byte sequence that is not
// CP932 (a lone lead byte, a bad trail byte, an unassigned pair) becomes
// U+FFFD; an ASCII byte after a bad lead byte is kept as itself, so commas
// and line ends are never swallowed.
void appendUtf8(std::string& out, std::string_view bytes);
std::string toUtf8(std::string_view bytes);

// CP932 form of UTF-8 text.  A character CP932 lacks (and any malformed
// UTF-8) is written as "?" and counted in `unmappable` when given.
void appendCp932(std::string& out, std::string_view utf8, std::size_t* unmappable = nullptr);
std::string fromUtf8(std::string_view utf8, std::size_t* unmappable = nullptr);

// CP932 form of UTF-8 text for an HTML page: a character CP932 lacks is
// written as a numeric character reference ("&#x1F600;"), which a browser
// shows in a Shift-JIS page as well; malformed UTF-8 is still "?".
void appendCp932Html(std::string& out, std::string_view utf8);

// Appends to `found` each character of `utf8` that CP932 lacks and `found`
// does not hold yet, in the order they first appear (UTF-8; malformed UTF-8
// counts as U+FFFD).
void addLackingCharacters(std::string& found, std::string_view utf8);

// Width of one code point in CP932 bytes (1 for ASCII and half-width
// katakana, 2 otherwise): the unit positions of the old byte-counting text
// rules are measured in.
inline int byteWidth(char32_t c) { return (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2; }

// Length in bytes of the UTF-8 sequence that starts with `lead` (1 for a
// stray continuation byte, so a walk over malformed text still advances).
inline int utf8SequenceLength(unsigned char lead)
{
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

// Decodes the code point at `s[i]`, advancing `i`; malformed input gives U+FFFD.
char32_t nextCodePoint(std::string_view s, std::size_t& i);

} // namespace cp932
