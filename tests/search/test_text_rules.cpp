// Folding, numbers in texts and natural order: the rules every search,
// sort and filter of the listing search stands on.
#include "TextFolding.h"
#include "TextOrder.h"
#include "UnicodeServices.h"
#include "Utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using namespace kovra::search;
namespace utf8 = kovra::utf8;

struct FoldCase {
    const char* in;
    const char* out;
};

TEST(Folding, WidthCaseAndKanaAreNotToldApart)
{
    const FoldCase cases[] = {
        {"まんしょん", "マンション"}, {"ﾏﾝｼｮﾝ", "マンション"}, {"ｌｄｋ", "ldk"}, {"LDK", "ldk"},
        {"ｶﾞﾚｰｼﾞ", "ガレージ"},      // a half-width voicing mark joins the kana before it
        {"104.28㎡", "104.28m2"}, {"２４８０万円", "2480万円"}, {"ＡΒΓДЁ", "aβγдё"},
#ifdef KOVRA_FULL_CASE_FOLDING
        {"Straße", "strasse"},      // ICU folds fully; Windows lowercases (no such letter in CP932)
#endif
        {"ぁゔゖ", "ァヴヶ"},        // both ends of the hiragana block
        {"ゟ", "ヨリ"},              // NFKC first, then the kana move
        {"e\xCC\x81", "\xC3\xA9"},  // e + combining acute composes
        {"ａ\xCC\x8A", "\xC3\xA5"}, // a full-width letter composes after NFKC
        {"\xE3\x82\x99", "\xE3\x82\x99"}, // a lone combining mark stays
        {"a\xFF" "b", "a\xEF\xBF\xBD" "b"}, // a malformed byte reads as U+FFFD
        {"", ""},
    };
    for (const FoldCase& c : cases)
        EXPECT_EQ(FoldText(c.in), c.out) << c.in;
}

// The folding cuts texts into pieces for speed; the result must equal the
// three steps applied to the whole text.
TEST(Folding, PiecesGiveTheSameAsTheWholeText)
{
    const char* texts[] = {
        "ｶﾞｷﾞｸﾞｹﾞｺﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "か\xE3\x82\x99き\xE3\x82\x9Aく", "Å\xCC\x81\xCC\xA3x", "ﬁﬂ①⑴㍻㌔",
        "ＡＢＣ　ｄｅｆ ＧＨＩ", "𝐀𝐁 𝔄", "ǅǈ ΣΑΣ ς", "\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8", // conjoining jamo
        "ㄱㅏ ᄀￂ か\xEF\xBE\x9E", // NFKC turns these into characters that join the one before
    };
    for (const char* text : texts) {
        const std::string folded = unicode::CaseFold(unicode::Nfkc(text));
        std::string expected;
        const auto* p = reinterpret_cast<const unsigned char*>(folded.data());
        while (p < reinterpret_cast<const unsigned char*>(folded.data() + folded.size())) {
            char32_t c = utf8::Next(p, reinterpret_cast<const unsigned char*>(folded.data() + folded.size()));
            utf8::Append(c >= 0x3041 && c <= 0x3096 ? c + 0x60 : c, expected);
        }
        EXPECT_EQ(FoldText(text), expected) << text;
    }
}

TEST(Folding, TermsSplitAtAnyWhiteSpace)
{
    const std::vector<std::string> expected = {"マンション", "3LDK", "青葉台"};
    EXPECT_EQ(SplitAtWhiteSpace("  マンション　3LDK\t青葉台 "), expected);
    EXPECT_TRUE(SplitAtWhiteSpace("　 \n").empty());
}

struct NumberCase {
    const char* text;
    std::optional<double> value;
};

TEST(TextOrder, NumericValueOfADisplayText)
{
    const NumberCase cases[] = {
        {"2480万円", 2480}, {"104.28m2", 104.28}, {"120,000円", 120000}, {"-5万円", -5}, {"1.2.3", 1.2},
        {"3LDK", 3}, {"12.", 12}, {"0.5ヶ月", 0.5},
        {"-----万円", std::nullopt}, {"--,---円", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt},
        {"平成09年", std::nullopt}, {".5", std::nullopt}, {",5", std::nullopt},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(NumericValue(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(*NumericValue(std::string(400, '9'))));
}

TEST(TextOrder, ParseNumberTakesOnlyAWholeNumber)
{
    const NumberCase cases[] = {
        {"1000", 1000}, {"１，０００", 1000}, {"-2.5", -2.5}, {"0", 0},
        {"", std::nullopt}, {"1000万", std::nullopt}, {"abc", std::nullopt}, {"1.2.3", std::nullopt},
        {"+5", std::nullopt}, {" 5", std::nullopt},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
}

TEST(TextOrder, NaturalOrderReadsDigitRunsAsNumbers)
{
    struct OrderCase {
        const char* a;
        const char* b;
        int sign;
    };
    const OrderCase cases[] = {
        {"平成9年2月23日", "平成10年1月1日", -1}, {"平成09年2月23日", "平成9年2月3日", 1},
        {"平成09年", "平成9年", 0}, {"a2", "a10", -1}, {"a", "a1", -1}, {"b", "a9", 1},
        {"1000", "999", 1}, {"0", "00", 0}, {"マンション", "マンション2", -1}, {"", "", 0},
    };
    for (const OrderCase& c : cases) {
        const int got = NaturalCompare(c.a, c.b);
        EXPECT_EQ((got > 0) - (got < 0), c.sign) << c.a << " / " << c.b;
        const int back = NaturalCompare(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " / " << c.a;
    }
}

} // namespace
