// CP932 <-> UTF-8: the one converter every file of the program goes through.
#include "Cp932Codec.h"

#include <gtest/gtest.h>

namespace {

struct Pair {
    const char* sjis;
    const char* utf8;
};

// Guards against a wrong table row: one sample per region of the code page.
TEST(Cp932, DecodesEachRegionOfTheTable)
{
    const Pair cases[] = {
        {"abc,\\~", "abc,\\~"},         // 0x5C stays backslash, 0x7E stays tilde
        {"\x82\xa0\x83\x41", "あア"},    // hiragana, katakana
        {"\x8a\xbf\x8e\x9a", "漢字"},    // JIS level 1
        {"\xb1\xdd", "ｱﾝ"},              // half-width katakana
        {"\x87\x40\x87\x54", "①Ⅰ"},      // NEC row 13
        {"\xed\x40", "纊"},              // NEC-selected IBM extension
        {"\xfa\x40\xfa\x5c", "ⅰ纊"},     // IBM extension
        {"\x81\x40", "\xE3\x80\x80"},    // ideographic space
        {"\x81\x60", "～"},              // wave dash as Windows maps it (U+FF5E)
        {"\x81\x7c", "－"},              // minus as Windows maps it (U+FF0D)
        {"\x87\x90", "≒"},               // NEC duplicate of a JIS symbol
    };
    for (const Pair& c : cases)
        EXPECT_EQ(cp932::toUtf8(c.sjis), c.utf8) << c.utf8;
}

// Guards against a crash or a swallowed separator on broken input.
TEST(Cp932, InvalidBytesBecomeReplacementAndKeepAscii)
{
    const Pair cases[] = {
        {"\x82", "\xEF\xBF\xBD"},            // truncated at the end
        {"\x82,a", "\xEF\xBF\xBD,a"},        // bad trail keeps the comma
        {"\x85\x40", "\xEF\xBF\xBD@"},       // unassigned pair with an ASCII trail
        {"\x81\x7f", "\xEF\xBF\xBD\x7f"},    // 0x7F is never a trail byte
    };
    for (const Pair& c : cases)
        EXPECT_EQ(cp932::toUtf8(c.sjis), c.utf8);
    EXPECT_EQ(cp932::toUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// Guards the writer: Windows' choice among duplicate codes, and "?" counted.
TEST(Cp932, EncodesLikeWindows)
{
    const Pair cases[] = {
        {"\x81\xe0", "≒"},   // JIS row wins over NEC row 13
        {"\x87\x54", "Ⅰ"},   // NEC row 13 wins over IBM
        {"\xfa\x40", "ⅰ"},   // IBM wins over NEC-selected IBM
        {"\xfa\x5c", "纊"},
        {"\x81\xca", "￢"},
        {"\x81\xe6", "∵"},
        {"\xb1", "ｱ"},
    };
    for (const Pair& c : cases) {
        std::size_t bad = 0;
        EXPECT_EQ(cp932::fromUtf8(c.utf8, &bad), c.sjis) << c.utf8;
        EXPECT_EQ(bad, 0u);
    }
    std::size_t bad = 0;
    EXPECT_EQ(cp932::fromUtf8("a€😀b\xff", &bad), "a??b?");
    EXPECT_EQ(bad, 3u);
}

// Guards the whole table: every assigned double-byte code comes back the same
// after a trip through UTF-8, or goes to the one code Windows prefers.
TEST(Cp932, EveryCharacterRoundTrips)
{
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail), 0};
            const std::string utf8 = cp932::toUtf8(bytes);
            if (utf8.find("\xEF\xBF\xBD") != std::string::npos)
                continue;
            const std::string back = cp932::fromUtf8(utf8);
            ASSERT_EQ(cp932::toUtf8(back), utf8) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_GT(checked, 9000);
}

} // namespace
