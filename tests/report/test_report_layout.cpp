// The report's data file: items, pages, member items, ordinal, mends.
#include "Cp932Codec.h"
#include "MessageTexts.h"
#include "ListingLine.h"
#include "PrintTool.h"
#include "ReportLayout.h"
#include "ShippedFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

namespace {

namespace fs = std::filesystem;
using kovra::test::ListingLine;

class ReportLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One folder per test: CTest runs the cases of this file side by side.
        dir = fs::temp_directory_path() / ("kovra_report_layout_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir);
        std::string text = "3,,,,,261201\r\n";
        for (int i = 1; i <= 3; ++i)
            text += ListingLine().set(1, "NO" + std::to_string(i * 11)).set(43, "会員" + std::to_string(i))
                        .set(45, "備考;その" + std::to_string(i)).str() + "\r\n";
        ASSERT_TRUE(kovra::LoadListingBytes(listings, cp932::fromUtf8(text), "t").ok());
        kovra::services::SetProgramFolder("/prog"); // the report form ships there
        request.dataFile = (dir / "out.tmp").string();
        request.profile = {"（株）USER", "000-0000", "", "", "000-000-0000", "user@example.com"};
    }
    void TearDown() override
    {
        kovra::services::SetProgramFolder({});
        fs::remove_all(dir);
    }

    std::vector<std::string> Lines()
    {
        std::ifstream in(request.dataFile, std::ios::binary);
        const std::string text = cp932::toUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
        std::vector<std::string> lines;
        for (std::size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            lines.push_back(text.substr(pos, end - pos));
        return lines;
    }
    static long Count(const std::vector<std::string>& lines, const std::string& prefix)
    {
        return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    fs::path dir;
    kovra::TListingDocument listings;
    kovra::ReportRequest request;
};

// Guards page separation: k pages, k-1 "E" lines, none after the last page.
TEST_F(ReportLayoutTest, AllListingsPagesAndSeparators)
{
    request.allListings = true;
    const auto outcome = kovra::WriteReport(listings, request);
    ASSERT_TRUE(outcome.written);
    EXPECT_EQ(outcome.pages, 3);
    const auto lines = Lines();
    EXPECT_EQ(Count(lines, "E"), 2);
    EXPECT_EQ(Count(lines, "T"), 3 * 28);
    EXPECT_NE(lines[lines.size() - 2], "E");
    EXPECT_EQ(outcome.formatFile, (fs::path("/prog") / "KvReport.FOM").string());
    EXPECT_EQ(kovra::TPrintTool::Settings().paperCode, 9);
    EXPECT_EQ(kovra::TPrintTool::Settings().previewTitle, "KovraViewer Report");
}

// Guards the ordinal at the top right (not the listing number) and the items' order.
TEST_F(ReportLayoutTest, ShownListingPage)
{
    request.shownListingNumber = 2;
    ASSERT_TRUE(kovra::WriteReport(listings, request).written);
    const auto lines = Lines();
    EXPECT_EQ(Count(lines, "E"), 0);
    EXPECT_EQ(lines[0], "T1940;160;2;ＭＳ 明朝;9;;0;0;");
    EXPECT_EQ(lines[2], "T550;440;【 売物件 】;ＭＳ 明朝;12;B;0;0;");
    EXPECT_EQ(lines[8], "T700;620;NO22;ＭＳ 明朝;9;;0;0;");
    EXPECT_EQ(lines[14], "T1400;670;平成26年12月1日;ＭＳ 明朝;9;;0;0;");
    EXPECT_EQ(lines[36], "T700;1070;備考；その2;ＭＳ 明朝;9;;0;0;") << "a ';' must not cut the item";
    EXPECT_EQ(lines[38], "T700;1120;会員2;ＭＳ 明朝;9;;0;0;");
    EXPECT_EQ(lines[44], "T1100;2540;〒000-0000;ＭＳ 明朝;10;;0;0;");
    EXPECT_EQ(lines[50], "T1100;2680;TEL:;ＭＳ 明朝;10;;0;0;") << "an empty value keeps its item";
    EXPECT_EQ(lines[54], "T1100;2760;Email:user@example.com;ＭＳ 明朝;10;;0;0;");
}

// Guards the chosen listings (a search's result): their pages in their
// order, each numbered by its place in the file; nothing when none is valid.
TEST_F(ReportLayoutTest, ChosenListingsInTheirOrder)
{
    struct Case {
        std::vector<int> chosen;
        std::vector<std::string> ordinals; // the first item of each page
    };
    const Case cases[] = {
        {{2, 0}, {"3", "1"}},
        {{1, 7, -1}, {"2"}},
        {{}, {}},
        {{5}, {}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(request.dataFile);
        request.allListings = true; // the chosen listings win over both other choices
        request.chosenListings = c.chosen;
        const auto outcome = kovra::WriteReport(listings, request);
        EXPECT_EQ(outcome.written, !c.ordinals.empty());
        EXPECT_EQ(outcome.pages, static_cast<int>(c.ordinals.size()));
        std::vector<std::string> ordinals;
        for (const std::string& l : Lines())
            if (l.rfind("T1940;160;", 0) == 0)
                ordinals.push_back(l.substr(10, l.find(';', 10) - 10));
        EXPECT_EQ(ordinals, c.ordinals);
    }
}

// Guards the job's name in the print queue: the listing's number for one
// page, the number of listings for several.
TEST_F(ReportLayoutTest, JobNameNamesTheListingOrTheCount)
{
    struct Case {
        int shown;
        bool all;
        std::optional<std::vector<int>> chosen;
        std::string name;
    };
    const Case cases[] = {{2, false, std::nullopt, "物件概要書 NO22"},
                          {2, true, std::nullopt, "物件概要書 (3 件)"},
                          {1, false, std::vector<int>{2}, "物件概要書 NO33"},
                          {1, false, std::vector<int>{2, 0}, "物件概要書 (2 件)"}};
    for (const Case& c : cases) {
        request.shownListingNumber = c.shown;
        request.allListings = c.all;
        request.chosenListings = c.chosen;
        ASSERT_TRUE(kovra::WriteReport(listings, request).written);
        EXPECT_EQ(kovra::TPrintTool::Settings().jobName, c.name);
    }
}

// Guards the member switch: items at y 1120, 1170, 1220 gone, the rest unchanged.
TEST_F(ReportLayoutTest, MemberItemsFollowTheSwitch)
{
    request.allListings = true;
    ASSERT_TRUE(kovra::WriteReport(listings, request).written);
    auto with = Lines();
    request.memberPrintOk = false;
    ASSERT_TRUE(kovra::WriteReport(listings, request).written);
    const auto without = Lines();
    for (const char* y : {";1120;", ";1170;", ";1220;"}) {
        EXPECT_EQ(std::count_if(without.begin(), without.end(), [&](auto& l) { return l.find(y) != std::string::npos; }), 0);
        with.erase(std::remove_if(with.begin(), with.end(), [&](auto& l) { return l.find(y) != std::string::npos; }),
                   with.end());
    }
    // Each removed item also took its empty line with it.
    std::vector<std::string> withT, withoutT;
    std::copy_if(with.begin(), with.end(), std::back_inserter(withT), [](auto& l) { return !l.empty(); });
    std::copy_if(without.begin(), without.end(), std::back_inserter(withoutT), [](auto& l) { return !l.empty(); });
    EXPECT_EQ(withT, withoutT);
}

// Guards "nothing to print, nothing to say" and the unwritable data file.
TEST_F(ReportLayoutTest, NothingOrFailure)
{
    for (int shown : {0, 4, -1}) {
        request.shownListingNumber = shown;
        const auto o = kovra::WriteReport(listings, request);
        EXPECT_FALSE(o.written);
        EXPECT_TRUE(o.message.empty());
    }
    request.shownListingNumber = 1;
    request.dataFile = (dir / "missing" / "x.tmp").string();
    const auto o = kovra::WriteReport(listings, request);
    EXPECT_FALSE(o.written);
    EXPECT_EQ(o.message, "ファイル " + request.dataFile + " を作成できません");

    // The export file and the form are the job's inputs, never its data file.
    std::ofstream(dir / "in.txt") << "listings";
    std::ofstream(dir / "form.fom") << "L0;0;1;1;";
    listings.CurrentFileName = (dir / "in.txt").string();
    request.formatFile = (dir / "form.fom").string();
    for (const char* input : {"in.txt", "form.fom"}) {
        request.dataFile = (dir / "." / input).string();
        const auto refused = kovra::WriteReport(listings, request);
        EXPECT_FALSE(refused.written) << input;
        EXPECT_EQ(refused.message, "出力ファイル " + request.dataFile + " は入力ファイルと同じファイルです");
    }
    std::ifstream kept(dir / "in.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "listings");
}

// Guards the characters the report cannot carry: said, each once, in order.
TEST_F(ReportLayoutTest, CharactersTheCodePageLacksAreNamed)
{
    request.allListings = true;
    request.profile.Name = "😀山田𠮷😀";
    request.profile.Jyusyo = "한";
    const auto o = kovra::WriteReport(listings, request);
    ASSERT_TRUE(o.written);
    EXPECT_EQ(o.unmappable, 3u * 4u);
    EXPECT_EQ(o.unmappableCharacters, "한😀𠮷"); // the address comes first on the page
    EXPECT_EQ(kovra::msg::CharactersNotPrinted(o.unmappableCharacters),
              "次の文字はレポートに印刷できないため「?」で印刷されます: 한 😀 𠮷");
}

// Guards the default data file: "KvReport.tmp" in the current folder, or the
// temporary folder when the current one cannot take it.
TEST_F(ReportLayoutTest, DefaultDataFileAndFallback)
{
    const fs::path before = fs::current_path();
    request.dataFile.clear();
    request.shownListingNumber = 1;
    fs::current_path(dir);
    auto o = kovra::WriteReport(listings, request);
    EXPECT_TRUE(o.written);
    EXPECT_EQ(o.dataFile, "KvReport.tmp");
    EXPECT_TRUE(fs::exists(dir / "KvReport.tmp"));

    fs::create_directories(dir / "ro");
    fs::current_path(dir / "ro");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const bool canStillWrite = std::ofstream(dir / "ro" / "probe").good(); // root ignores permissions
    o = kovra::WriteReport(listings, request);
    fs::current_path(before);
    fs::permissions(dir / "ro", fs::perms::owner_all);
    EXPECT_TRUE(o.written);
    if (!canStillWrite) {
        EXPECT_EQ(o.dataFile, (fs::temp_directory_path() / "KvReport.tmp").string());
    }
}

} // namespace
