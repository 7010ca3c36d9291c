// The small text rules every decoded field goes through.
#include "TextHelpers.h"

#include <gtest/gtest.h>

namespace {

using kovra::SplitFields;

struct TextCase {
    const char* in;
    const char* out;
};

// Guards the odd splitting rules: no comma stores nothing, entries kept, limit.
TEST(SplitFields, StoresOnlyWhatTheTextReaches)
{
    std::vector<std::string_view> f(5, "x");
    SplitFields("a,b,", f, 4);
    EXPECT_EQ(f[0], "a");
    EXPECT_EQ(f[1], "b");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[3], "x"); // not reached: the caller's value stays

    std::vector<std::string_view> none(3, "x");
    SplitFields("abc", none, 2);
    EXPECT_EQ(none[0], "x");

    std::vector<std::string_view> limited(3);
    SplitFields("a,b,c,d,e", limited, 2);
    EXPECT_EQ(limited[2], "c");

    std::vector<std::string_view> quoted(4);
    SplitFields("\"a,b\",c", quoted, 3);
    EXPECT_EQ(quoted[0], "\"a");
    EXPECT_EQ(quoted[1], "b\"");
}

TEST(TextHelpers, NumberText)
{
    const TextCase cases[] = {
        {"", "-----"}, {"0", "-----"}, {"0.00", "-----"}, {"000", "-----"}, {"0.0", "-----"},
        {"0050", "50"}, {"0.5", ".5"}, {"10.0", "10.0"}, {"abc", "abc"}, {"0 12 ", "12"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(kovra::NumberText(c.in), c.out) << c.in;
}

TEST(TextHelpers, GroupThousandsCountsEveryCharacter)
{
    const TextCase cases[] = {
        {"123", "123"}, {"1234", "1,234"}, {"1234567", "1,234,567"}, {"1234.5", "123,4.5"},
        {"-----", "--,---"}, {"", ""}, {"１２３４", "１,２３,４"}, // two bytes each; a comma never splits one
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(kovra::GroupThousands(c.in), c.out) << c.in;
}

TEST(TextHelpers, EraDateText)
{
    const TextCase cases[] = {
        {"100401", "平成10年4月1日"}, {"091210", "平成09年12月10日"}, {"", "平成年月日"},
        {"1004", "平成10年4月日"}, {"10040105", "平成10年4月1日"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(kovra::EraDateText(c.in), c.out) << c.in;
}

TEST(TextHelpers, YearMonthText)
{
    const TextCase cases[] = {
        {"0903", "9年3月"}, {"1000", "10年-----月"}, {"", "-----年-----月"}, {"0000", "-----年-----月"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(kovra::YearMonthText(c.in), c.out) << c.in;
}

// Guards against cutting a double-byte character in half.
TEST(TextHelpers, MemberNumberTextNeverSplitsACharacter)
{
    const TextCase cases[] = {
        {"1234567890", "123456-7890"}, {"", "-"}, {"123456789012345678", "123456-78901234567"},
        {"12345会員", "12345会-員"}, // 会 starts at byte 6: it stays in the first part
        {"あいうえお", "あいう-えお"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(kovra::MemberNumberText(c.in), c.out) << c.in;
}

TEST(TextHelpers, RemoveSpacesAndQuotes)
{
    EXPECT_EQ(kovra::RemoveSpaces("山田　太郎 様"), "山田太郎様");
    EXPECT_EQ(kovra::RemoveAllChar("\"a\"b\"", '"'), "ab");
}

// Guards the integer rule: sign and ASCII digits only, 32 bits.
TEST(TextHelpers, ParseInt32)
{
    struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"12", true, 12}, {"-3", true, -3}, {"+7", true, 7}, {"0012", true, 12},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"99999999999999999999", false, 0}, {"", false, 0}, {"-", false, 0},
        {"1a", false, 0}, {"１", false, 0}, {"0x10", false, 0}, {" 1", false, 0}, {"1.0", false, 0},
    };
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(kovra::ParseInt32(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

} // namespace
