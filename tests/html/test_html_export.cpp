#include "HtmlExport.h"
#include "HtmlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kovra;
using namespace kovra::html;
namespace fs = std::filesystem;

namespace {

const char* kLinkTemplate = "<p>/*BukkennNum*/</p><a href=\"/*BackFileName*/\">back</a><a href=\"/*NextFileName*/\">next</a>";
const char* kLinkFieldList = "/*BukkennNum*/\r\n/*NextFileName*/\r\n/*BackFileName*/\r\n";

struct Fixture {
    test::TempDir dir;
    std::vector<TKovraDataClass> listings;
    ExportJob job;

    Fixture(std::vector<TKovraDataClass> l, const std::string& templ = kLinkTemplate,
            const std::string& fieldList = kLinkFieldList)
        : listings(std::move(l))
    {
        fs::create_directories(dir.path() / "out");
        test::WriteFile(dir.path() / "t.html", templ);
        test::WriteFile(dir.path() / "FieldList", fieldList);
        job.listings = listings.data();
        job.count = static_cast<int>(listings.size());
        job.templatePath = dir.str() + "/t.html";
        job.fieldListPath = dir.str() + "/FieldList";
        job.outDir = dir.str() + "/out";
    }
    fs::path out(const std::string& name) const { return dir.path() / "out" / test::U8(name); }
    std::string page(const std::string& name) const { return test::ReadFile(out(name)); }
    std::size_t filesIn(const fs::path& p) const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(p), fs::directory_iterator()));
    }
};

std::string LinkPage(const char* number, const char* back, const char* next)
{
    return std::string("<p>") + number + "</p><a href=\"" + back + "\">back</a><a href=\"" + next + "\">next</a>\r\n";
}

} // namespace

// Guards: next/back links off by one, or filled on the first/last page.
TEST(Export, ThreeListingsLinkToEachOther)
{
    Fixture f(test::MakeListings({"11", "12", "13"}));
    const ExportResult r = ExportPages(f.job, {});
    ASSERT_EQ(r.status, ExportResult::Status::Done);
    EXPECT_EQ(r.written, 3);
    EXPECT_EQ(f.page("11.html"), LinkPage("11", "", "12.html"));
    EXPECT_EQ(f.page("12.html"), LinkPage("12", "11.html", "13.html"));
    EXPECT_EQ(f.page("13.html"), LinkPage("13", "12.html", ""));
}

// Guards: pages of a chosen few linking to listings that got no page, or in
// table order instead of the chosen order.
TEST(Export, ChosenListingsLinkAmongThemselvesInTheirOrder)
{
    struct Page {
        int place;
        const char *number, *back, *next;
    };
    struct Case {
        std::vector<int> only;
        std::vector<Page> pages; // in the order written
        ExportResult::Status status;
    };
    const Case cases[] = {
        {{3, 0}, {{0, "14", "", "11.html"}, {1, "11", "14.html", ""}}, ExportResult::Status::Done},
        {{4, 2, 1}, {{0, "15", "", "12.html"}, {2, "12", "15.html", ""}}, ExportResult::Status::Done}, // "a/b" names no page
        {{1, 99, -1}, {{0, "12", "", ""}}, ExportResult::Status::Done},
        {{}, {}, ExportResult::Status::NoListings},
    };
    for (const Case& c : cases) {
        Fixture f(test::MakeListings({"11", "12", "a/b", "14", "15"}));
        f.job.only = c.only;
        std::vector<std::pair<int, std::string>> written;
        ExportHooks hooks;
        hooks.pageWritten = [&](int place, const std::string& path) { written.emplace_back(place, path); };
        EXPECT_EQ(ExportPages(f.job, hooks).status, c.status);
        ASSERT_EQ(written.size(), c.pages.size());
        for (std::size_t k = 0; k < written.size(); ++k) {
            const Page& p = c.pages[k];
            EXPECT_EQ(written[k].first, p.place);
            EXPECT_EQ(written[k].second, PagePath(f.job.outDir, p.number));
            EXPECT_EQ(f.page(std::string(p.number) + ".html"), LinkPage(p.number, p.back, p.next));
        }
        EXPECT_EQ(f.filesIn(f.dir.path() / "out"), c.pages.size());
    }
}

// Guards: the single page getting a link to itself or to a missing neighbour.
TEST(Export, OneListingHasNoLinks)
{
    Fixture f(test::MakeListings({"7"}));
    ASSERT_TRUE(ExportPages(f.job, {}).ok());
    EXPECT_EQ(f.page("7.html"), LinkPage("7", "", ""));
}

// Guards: the first of two listings with one number winning, or no question for the second.
TEST(Export, DuplicateNumbersWriteOneFileTheLaterLast)
{
    Fixture f(test::MakeListings({"5", "5"}), "/*BukkennNum*/:/*NextFileName*/:/*BackFileName*/");
    std::vector<std::string> asked;
    ExportHooks hooks;
    hooks.confirmOverwrite = [&](const std::string& path) {
        asked.push_back(path);
        return OverwriteAnswer::Overwrite;
    };
    const ExportResult r = ExportPages(f.job, hooks);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(fs::path(test::U8(asked[0])), f.out("5.html"));
    EXPECT_EQ(f.page("5.html"), "5::5.html\r\n"); // the second listing's page: back link, no next
    EXPECT_EQ(f.filesIn(f.dir.path() / "out"), 1u);
    // The end message names the number, so the lost page does not go unnoticed.
    ASSERT_EQ(r.duplicates.size(), 1u);
    EXPECT_EQ(r.duplicates[0].number, "5");
    EXPECT_EQ(r.duplicates[0].listings, 2);
    EXPECT_NE(DescribeResult(r).find("物件番号「5」 2件"), std::string::npos) << DescribeResult(r);
}

// Guards: duplicates counted per number, in the order of their first listing, unique numbers left out.
TEST(Export, DuplicateNumbersAreNamedOnce)
{
    Fixture f(test::MakeListings({"9", "3", "9", "4", "3", "9"}));
    const ExportResult r = ExportPages(f.job, {});
    ASSERT_EQ(r.duplicates.size(), 2u);
    EXPECT_EQ(r.duplicates[0].number, "9");
    EXPECT_EQ(r.duplicates[0].listings, 3);
    EXPECT_EQ(r.duplicates[1].number, "3");
    EXPECT_EQ(r.duplicates[1].listings, 2);
    EXPECT_TRUE(ExportPages(Fixture(test::MakeListings({"1", "2"})).job, {}).duplicates.empty());
}

// Guards: an empty or bad FieldList line writing pages anyway, or being reported late.
TEST(Export, FieldListErrorStopsBeforeAnyPage)
{
    for (const char* list : {"/*BukkennNum*/\r\n\r\n", "/*bukkennnum*/\r\n", "/*BukkennNum*/\r\n/*Kakaku*/ \r\n"}) {
        Fixture f(test::MakeListings({"1", "2"}), kLinkTemplate, list);
        int reported = 0;
        ExportHooks hooks;
        hooks.fieldListError = [&](int, const std::string&) { ++reported; };
        const ExportResult r = ExportPages(f.job, hooks);
        EXPECT_EQ(r.status, ExportResult::Status::FieldListError) << list;
        EXPECT_EQ(reported, 1) << list;
        EXPECT_EQ(f.filesIn(f.dir.path() / "out"), 0u) << list;
        EXPECT_NE(DescribeResult(r), "") << list;
    }
    // The line is quoted as text, decoded from Shift-JIS like the file.
    Fixture f(test::MakeListings({"1"}), kLinkTemplate, "/*BukkennNum*/\r\n/*\x95\xa8\x8c\x8f*/\r\n");
    const ExportResult r = ExportPages(f.job, {});
    EXPECT_EQ(r.fieldListErrorText, "/*物件*/");
    EXPECT_NE(DescribeResult(r).find("2行目「/*物件*/」"), std::string::npos) << DescribeResult(r);
}

// Guards: failures that end the run being reported as a plain success.
TEST(Export, SilentFailuresAreDescribed)
{
    struct Case { const char* what; void (*spoil)(Fixture&); ExportResult::Status status; };
    const Case cases[] = {
        {"template missing", [](Fixture& f) { f.job.templatePath += ".gone"; }, ExportResult::Status::TemplateUnreadable},
        {"FieldList missing", [](Fixture& f) { f.job.fieldListPath += ".gone"; }, ExportResult::Status::FieldListUnreadable},
        {"folder missing", [](Fixture& f) { f.job.outDir += "/gone"; }, ExportResult::Status::FolderMissing},
        {"no BukkennNum line", [](Fixture& f) { test::WriteFile(f.dir.path() / "FieldList", "/*Kakaku*/\r\n"); },
         ExportResult::Status::NoPageNameLine},
        {"template too large", [](Fixture& f) { fs::resize_file(f.dir.path() / "t.html", kTemplateSizeLimit + 1); },
         ExportResult::Status::TemplateUnreadable},
        {"template is a device", [](Fixture& f) { f.job.templatePath = "/dev/zero"; }, ExportResult::Status::TemplateUnreadable},
        {"FieldList too large", [](Fixture& f) { fs::resize_file(f.dir.path() / "FieldList", kFieldListSizeLimit + 1); },
         ExportResult::Status::FieldListUnreadable},
    };
    for (const Case& c : cases) {
        Fixture f(test::MakeListings({"1"}));
        c.spoil(f);
        const ExportResult r = ExportPages(f.job, {});
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_FALSE(r.ok()) << c.what;
        EXPECT_NE(DescribeResult(r), "") << c.what;
        if (fs::exists(f.dir.path() / "out")) {
            EXPECT_EQ(f.filesIn(f.dir.path() / "out"), 0u) << c.what;
        }
    }
    Fixture f(test::MakeListings({"1"}));
    fs::resize_file(f.dir.path() / "t.html", kTemplateSizeLimit + 1);
    EXPECT_EQ(DescribeResult(ExportPages(f.job, {})), "テンプレートファイル " + f.job.templatePath + " は大きすぎるため読み込めません (" +
                                                      std::to_string(kTemplateSizeLimit + 1) + " バイト、上限 " +
                                                      std::to_string(kTemplateSizeLimit) + " バイト)。");
}

// Guards: a listing number writing outside the output folder, or stopping the whole run.
TEST(Export, UnsafeListingNumbersAreSkippedAndTheRunGoesOn)
{
    Fixture f(test::MakeListings({"1", "../escape", "..\\escape", "C:esc", "", "CON", "2"}));
    std::vector<int> skippedIndexes;
    ExportHooks hooks;
    hooks.pageSkipped = [&](const SkippedPage& s) { skippedIndexes.push_back(s.index); };
    const ExportResult r = ExportPages(f.job, hooks);
    EXPECT_EQ(r.status, ExportResult::Status::Done);
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(skippedIndexes, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(f.filesIn(f.dir.path()), 3u); // t.html, FieldList, out
    EXPECT_EQ(f.filesIn(f.dir.path() / "out"), 2u);
    // The links step over the skipped listings.
    EXPECT_EQ(f.page("1.html"), LinkPage("1", "", "2.html"));
    EXPECT_EQ(f.page("2.html"), LinkPage("2", "1.html", ""));
    const std::string text = DescribeResult(r);
    EXPECT_NE(text.find("2件目"), std::string::npos) << text;
    EXPECT_NE(text.find("../escape"), std::string::npos) << text;
}

// Guards: "keep" (kovra html without --yes) overwriting the existing page.
TEST(Export, KeepLeavesTheExistingPage)
{
    Fixture f(test::MakeListings({"11", "12"}));
    test::WriteFile(f.out("11.html"), "old");
    ExportHooks hooks;
    hooks.confirmOverwrite = [](const std::string&) { return OverwriteAnswer::Keep; };
    const ExportResult r = ExportPages(f.job, hooks);
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(f.page("11.html"), "old");
}

// Guards: a failed write leaving half a page or a temporary file behind, or the run going on.
TEST(Export, FailedWriteLeavesNothingBehind)
{
    Fixture f(test::MakeListings({"11", "12", "13"}));
    fs::create_directories(f.out("12.html")); // a folder where the page should go
    const ExportResult r = ExportPages(f.job, {});
    EXPECT_EQ(r.status, ExportResult::Status::WriteFailed);
    EXPECT_EQ(r.written, 1);
    EXPECT_EQ(f.filesIn(f.dir.path() / "out"), 2u); // 11.html and the folder, no temporary file
    EXPECT_FALSE(fs::exists(f.out("13.html")));
    EXPECT_NE(DescribeResult(r).find("12.html"), std::string::npos);
}

// Guards the run's inputs: a page that would be the template, FieldList or
// the export file (by name, hard link or link) ends the run before its
// first page, with "yes to all" as well, and the input is kept.
TEST(Export, NoPageIsAnInputOfTheRun)
{
    struct Case {
        const char* what;
        std::function<void(Fixture&)> setUp; // puts an input where page 12.html goes
    };
    const Case cases[] = {
        {"template in the folder", [](Fixture& f) {
             fs::rename(f.dir.path() / "t.html", f.out("12.html"));
             f.job.templatePath = f.dir.str() + "/out/./12.html";
         }},
        {"hard link to FieldList", [](Fixture& f) { fs::create_hard_link(f.dir.path() / "FieldList", f.out("12.html")); }},
        {"link to the export file", [](Fixture& f) {
             test::WriteFile(f.dir.path() / "in.txt", "listings");
             f.job.exportFile = f.dir.str() + "/in.txt";
             std::error_code ec;
             fs::create_symlink(f.dir.path() / "in.txt", f.out("12.html"), ec);
             if (ec)
                 fs::create_hard_link(f.dir.path() / "in.txt", f.out("12.html"));
         }},
    };
    for (const Case& c : cases) {
        Fixture f(test::MakeListings({"11", "12", "13"}));
        c.setUp(f);
        const std::string before = f.page("12.html");
        ExportHooks hooks;
        hooks.confirmOverwrite = [](const std::string&) { return OverwriteAnswer::OverwriteAll; };
        ASSERT_TRUE(PageOverInput(f.job)) << c.what;
        const ExportResult r = ExportPages(f.job, hooks);
        EXPECT_EQ(r.status, ExportResult::Status::OutputIsInput) << c.what;
        EXPECT_EQ(r.written, 0) << c.what;
        EXPECT_EQ(f.page("12.html"), before) << c.what;
        EXPECT_FALSE(fs::exists(f.out("11.html"))) << c.what;
        EXPECT_EQ(DescribeResult(r), "出力ファイル " + PagePath(f.job.outDir, "12") + " は入力ファイルと同じファイルです");
    }
}

// Guards the folder: a link under a page's name is replaced by the page;
// the file it points to, outside the folder, is untouched.
TEST(Export, PagesReplaceLinksInTheFolder)
{
    Fixture f(test::MakeListings({"11"}));
    test::WriteFile(f.dir.path() / "elsewhere.txt", "keep");
    std::error_code ec;
    fs::create_symlink(f.dir.path() / "elsewhere.txt", f.out("11.html"), ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here";
    int asked = 0;
    ExportHooks hooks;
    hooks.confirmOverwrite = [&](const std::string&) { ++asked; return OverwriteAnswer::Overwrite; };
    ASSERT_EQ(ExportPages(f.job, hooks).status, ExportResult::Status::Done);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fs::is_symlink(f.out("11.html")));
    EXPECT_EQ(f.page("11.html"), LinkPage("11", "", ""));
    EXPECT_EQ(test::ReadFile(f.dir.path() / "elsewhere.txt"), "keep");
}

// Guards: a hostile listing number driving the terminal or flooding the end message.
TEST(Export, ListingNumbersInMessagesArePrintable)
{
    EXPECT_EQ(PrintableNumber("a\x1b[2J\n"), "a?[2J?");
    EXPECT_EQ(PrintableNumber(std::string(50, '9')), std::string(40, '9') + "…");
    EXPECT_EQ(PrintableNumber("物件１"), "物件１");
}
