#include "HtmlPage.h"
#include "HtmlTestSupport.h"

#include "Cp932Codec.h"

#include <gtest/gtest.h>

using namespace kovra;
using namespace kovra::html;

namespace {

UserTexts User()
{
    return {"山田不動産", "100-0001", "東京都", "03-1111-2222", "03-1111-3333", "info@example.jp", "http://example.jp/"};
}

std::vector<Token> Tokens(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* l : lines)
        text += std::string(l) + "\r\n";
    FieldList list = ReadFieldList(text);
    EXPECT_TRUE(list.ok()) << list.errorLine;
    return list.tokens;
}

std::string Page(const std::string& templ, std::initializer_list<const char*> fieldList, const TKovraDataClass& r,
                 std::optional<std::string_view> next = {}, std::optional<std::string_view> back = {})
{
    PageMaker maker(templ, Tokens(fieldList), "令和8年12月1日", User());
    std::string page;
    maker.Make(r, next, back, page);
    return page;
}

} // namespace

// Guards: a placeholder list drifting from the field list (a field with no token, or out of order).
TEST(Placeholder, EveryFieldTokenLooksUpItsOwnField)
{
    TKovraDataClass r = test::Listing("21000100");
    const std::vector<std::string> all = AllPlaceholders();
    ASSERT_EQ(all.size(), 94u + 1 + 7 + 2);
    for (int f = 0; f < kFieldCount; ++f)
        EXPECT_EQ(LookupPlaceholder(r, all[static_cast<std::size_t>(f)], "", User()), r.field(f)) << all[f];
    EXPECT_EQ(all[0], "/*BukkennNum*/");
    EXPECT_EQ(all[93], "/*KanriKaisya*/");
}

// Guards: the non-field tokens mapped to the wrong value, and loose matching of the lookup.
TEST(Placeholder, LookupTable)
{
    TKovraDataClass r = test::Listing("77");
    struct Case { const char* token; std::string expected; };
    const Case cases[] = {
        {"/*BukkennNum*/", "77"},
        {"/*KensakuNengappi*/", "令和8年12月1日"},
        {"/*UserName*/", "山田不動産"},
        {"/*UserYubin*/", "100-0001"},
        {"/*UserJyusyo*/", "東京都"},
        {"/*UserTel*/", "03-1111-2222"},
        {"/*UserFax*/", "03-1111-3333"},
        {"/*UserMail*/", "info@example.jp"},
        {"/*UserHp*/", "http://example.jp/"},
        {"/*NextFileName*/", ""},
        {"/*BackFileName*/", ""},
        {"", "err"},
        {"/*bukkennnum*/", "err"},
        {"/*BukkennNum*/ ", "err"},
        {" /*BukkennNum*/", "err"},
        {"/*Email*/", "err"},
        {"/**/", "err"},
        {"BukkennNum", "err"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LookupPlaceholder(r, c.token, "令和8年12月1日", User()), c.expected) << '"' << c.token << '"';
}

// Guards: FieldList lines trimmed or case-folded (they must match exactly), empty lines ignored.
TEST(FieldListReader, BadLinesAreReportedWithTheirNumber)
{
    struct Case { std::string text; int errorLine; std::size_t tokens; bool namesPages; };
    const Case cases[] = {
        {"/*BukkennNum*/\r\n/*NextFileName*/\r\n/*BackFileName*/\r\n", 0, 3, true},
        {"/*BukkennNum*/\n/*Kakaku*/", 0, 2, true},          // LF, no final line end
        {"/*Kakaku*/\r/*BukkennNum*/\r", 0, 2, true},        // CR only
        {"\xEF\xBB\xBF/*BukkennNum*/\r\n", 0, 1, true},      // an editor's byte order mark
        {"/*Kakaku*/\r\n", 0, 1, false},
        {"", 0, 0, false},
        {"/*BukkennNum*/\r\n\r\n", 2, 0, false},             // empty line after the last token
        {"/*BukkennNum*/\r\n\r\n/*Kakaku*/\r\n", 2, 0, false},
        {"/*bukkennnum*/\r\n", 1, 0, false},                  // lower case
        {"/*BukkennNum*/\r\n/*Kakaku*/ \r\n", 2, 0, false},  // trailing blank
    };
    for (const Case& c : cases) {
        const FieldList list = ReadFieldList(c.text);
        EXPECT_EQ(list.errorLine, c.errorLine) << c.text;
        EXPECT_EQ(list.tokens.size(), c.tokens) << c.text;
        EXPECT_EQ(list.namesPages, c.namesPages) << c.text;
    }
}

// Guards: case-sensitive replacement (a lower-case template placeholder left unfilled).
TEST(PageMaking, TemplatePlaceholdersMatchWithoutRegardToCase)
{
    const std::string page = Page("<p>/*bukkennnum*/ /*BUKKENNNUM*/ /*BukkennNum*/</p>", {"/*BukkennNum*/"},
                                  test::Listing("11"));
    EXPECT_EQ(page, "<p>11 11 11</p>\r\n");
}

// Guards: unknown placeholders removed, and empty values leaving the token behind.
TEST(PageMaking, UnknownPlaceholderStaysAndEmptyValueReplacesByNothing)
{
    TKovraDataClass r = test::Listing("11", "");
    ASSERT_TRUE(r.Bikou2().empty());
    const std::string page = Page("[/*Bikou2*/][/*Kakaku*/][/*NotAField*/]", {"/*Bikou2*/"}, r);
    EXPECT_EQ(page, "[][/*Kakaku*/][/*NotAField*/]\r\n");
}

// Guards: an inserted value searched again by its own token (endless or doubled replacement),
// and later FieldList lines not seeing what earlier ones inserted.
TEST(PageMaking, ReplacementIsOnePassAndLaterLinesWorkOnEarlierResults)
{
    std::string page = "a/*X*/b/*x*/c";
    std::string scratch;
    EXPECT_EQ(ReplaceIgnoringCase(page, "/*X*/", "/*X*//*X*/", scratch), 2u);
    EXPECT_EQ(page, "a/*X*//*X*/b/*X*//*X*/c");

    // A listing text that holds a later placeholder gets it filled.
    TKovraDataClass r = test::Listing("5", "tel:/*UserTel*/");
    EXPECT_EQ(Page("/*Bikou2*/", {"/*Bikou2*/", "/*UserTel*/"}, r), "tel:03-1111-2222\r\n");
    EXPECT_EQ(Page("/*Bikou2*/", {"/*UserTel*/", "/*Bikou2*/"}, r), "tel:/*UserTel*/\r\n");
}

// Guards: markup from another broker's listing text reaching the user's page unescaped.
TEST(PageMaking, ValuesAreHtmlEscaped)
{
    TKovraDataClass r = test::Listing("1&2", R"(<script>alert('x')</script>"A&B")");
    const std::string page = Page("<a title=\"/*Bikou2*/\" href=\"/*NextFileName*/\">/*BukkennNum*/</a>",
                                  {"/*Bikou2*/", "/*BukkennNum*/", "/*NextFileName*/"}, r, "3<4");
    EXPECT_EQ(page, "<a title=\"&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&quot;A&amp;B&quot;\" "
                    "href=\"3&lt;4.html\">1&amp;2</a>\r\n");
}

// Guards: a Shift-JIS template re-encoded or damaged, values left in UTF-8 inside a Shift-JIS page.
TEST(PageMaking, Cp932TemplateKeepsItsBytesAndGetsCp932Values)
{
    const std::string before = cp932::fromUtf8("<meta charset=\"Shift_JIS\"><h1>物件番号 表示</h1>\r\n<p>");
    const std::string after = cp932::fromUtf8("</p>\n\xE2\x91\xA0 ソ\r\n"); // ① and ソ (trail byte 0x5C)
    TKovraDataClass r = test::Listing("21000100", "駅徒歩５分");
    const std::string page = Page(before + "/*Bikou2*/" + after, {"/*Bikou2*/"}, r);
    const std::string afterInPage = cp932::fromUtf8("</p>\r\n\xE2\x91\xA0 ソ\r\n"); // the LF saved as CR LF
    EXPECT_EQ(page, before + cp932::fromUtf8("駅徒歩５分") + afterInPage);
}

// Guards: characters Shift-JIS lacks lost as "?" in a Shift-JIS page; they
// become character references, and nothing else changes.
TEST(PageMaking, CharactersShiftJisLacksBecomeReferences)
{
    const std::pair<const char*, const char*> cases[] = {
        {"山田😀不動産", "山田&#x1F600;不動産"}, {"𠮷野", "&#x20BB7;野"}, {"한글", "&#xD55C;&#xAE00;"},
        {"1−2 & 3", "1&#x2212;2 &amp; 3"}, {"髙橋①", "髙橋①"},
    };
    for (const auto& [name, shown] : cases) {
        UserTexts user = User();
        user.Name = name;
        PageMaker maker("<p>/*UserName*/</p>", Tokens({"/*UserName*/"}), "", user);
        std::string page;
        maker.Make(test::Listing("1"), {}, {}, page);
        EXPECT_EQ(page, cp932::fromUtf8(std::string("<p>") + shown + "</p>\r\n")) << name;
    }
}

// Guards: a UTF-8 template filled with Shift-JIS bytes (mojibake in modern templates).
TEST(PageMaking, Utf8TemplateGetsUtf8Values)
{
    TKovraDataClass r = test::Listing("1", "南向き");
    for (const std::string& head : {std::string("\xEF\xBB\xBF<p>"), std::string("<meta charset=\"UTF-8\"><p>"),
                                   std::string("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")})
        EXPECT_EQ(Page(head + "/*Bikou2*/", {"/*Bikou2*/"}, r), head + "南向き\r\n") << head;
}

// Guards: pages saved with the template's own line ends, or a last line
// without one: every line of a page ends in CR LF.  A user text with a line
// break gets CR LF too.
TEST(PageMaking, EveryLineEndsInCrLf)
{
    TKovraDataClass r = test::Listing("3", "x");
    struct Case { std::string templ, page; };
    const Case cases[] = {
        {"<p>/*BukkennNum*/</p>", "<p>3</p>\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r\n\r\n", "a\r\nb\r\n\r\n"},
        {"a\n\r/*UserName*/", "a\r\n\r\nA\r\nB\r\n"},
        {"", ""},
    };
    UserTexts user;
    user.Name = "A\nB";
    for (const Case& c : cases) {
        PageMaker maker(c.templ, {*ParsePlaceholder("/*BukkennNum*/"), *ParsePlaceholder("/*UserName*/")}, "", user);
        std::string page;
        maker.Make(r, std::nullopt, std::nullopt, page);
        EXPECT_EQ(page, c.page) << c.templ;
    }
}

// Guards: encoding detection fooled by a charset far down the page or by another charset.
TEST(PageMaking, EncodingDetection)
{
    EXPECT_EQ(DetectEncoding("<meta charset=shift_jis>"), Encoding::Cp932);
    EXPECT_EQ(DetectEncoding("<meta charset = 'utf8'>"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("<html>"), Encoding::Cp932);
    EXPECT_EQ(DetectEncoding(std::string(2000, ' ') + "charset=utf-8"), Encoding::Cp932);
}

// Guards: a listing number that names a file outside the output folder or one the file system refuses.
TEST(PageNames, UnsafeListingNumbersAreRefused)
{
    for (const std::string& bad : std::vector<std::string>{"", "../x", "..\\x", "a/b", "/etc/passwd", "\\\\server\\share", "C:x", "c:",
                                  "..", ".", "a?b", "a*b", "a|b", "a<b", "a\"b", "a\tb", std::string("a\0b", 3),
                                  "CON", "nul", "Com1", "LPT9.txt", "aux ", std::string(201, '1')})
        EXPECT_TRUE(UnsafePageNameReason(bad).has_value()) << '"' << bad << '"';
    for (const std::string& good : std::vector<std::string>{"21000100", "1&2", "a..b", "A-1", "物件１", "con1", "COM0", std::string(200, '1')})
        EXPECT_FALSE(UnsafePageNameReason(good).has_value()) << '"' << good << '"';
}

// Guards: the one-pass page assembly differing from the line-by-line definition,
// above all where replacements touch each other ("/*Ka/*Bus*/kaku*/" and the like).
TEST(PageMaking, OnePassEqualsLineByLine)
{
    TKovraDataClass r = test::Listing("12", "x*y");
    TKovraDataClass plain = test::Listing("12", "abc");
    const std::initializer_list<const char*> list = {"/*Bikou2*/", "/*BukkennNum*/", "/*Bus*/", "/*Kakaku*/",
                                                     "/*UserHp*/", "/*NextFileName*/", "/*BackFileName*/"};
    struct Case { std::string templ; bool onePass; };
    const Case cases[] = {
        {"<p>/*Kakaku*/</p><a href=\"/*NextFileName*/\">/*bikou2*/</a>/*BukkennNum*/", true},
        {"/*Ka/*Bus*/kaku*/", false},          // an emptied token joins its neighbours into a new one
        {"/*Bikou2*/*/", false},               // a value next to "*"
        {"//*UserHp*/", true},
        {"/*BukkennNum*/*Kakaku*/", false},    // occurrences sharing a "/"
        {"x/*Kakaku*/", false},                // a letter before a token
        {"/*Bikou2*/Kakaku*/", false},
        {"/*UserHp*/*Bus*/", false},           // the home page ends in "/"
    };
    for (const Case& c : cases) {
        for (const TKovraDataClass* rec : {&r, &plain}) {
            PageMaker fast(c.templ, Tokens(list), "", User());
            PageMaker slow(c.templ, Tokens(list), "", User());
            slow.setOnePassAllowed(false);
            EXPECT_EQ(fast.onePassTemplate(), c.onePass) << c.templ;
            std::string a, b;
            fast.Make(*rec, "13", std::nullopt, a);
            slow.Make(*rec, "13", std::nullopt, b);
            EXPECT_EQ(a, b) << c.templ;
        }
    }
}
