// The report's data file: items, pages, member items, ordinal, mends.
#include "Cp932Codec.h"
#include "MessageTexts.h"
#include "ListingLine.h"
#include "PrintTool.h"
#include "ReportJob.h"
#include "ReportLayout.h"
#include "ShippedFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace {

namespace fs = std::filesystem;
using kovra::test::ListingLine;

class ReportLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One folder per test: CTest runs the cases of this file side by side.
        dir = fs::temp_directory_path() / ("kovra_report_layout_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                                           (std::getenv("KOVRA_TEST_CHILD_JOB") ? "_child" : ""));
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

#ifdef __linux__
// Guards the report's data file: each job writes its own "KvReport.tmp" in
// a folder of its own that only the user may enter, created with mode 0600;
// a second job in this program and a job of another program meanwhile
// leave it as it was; nothing is left once the jobs and that program have
// ended.  The other program is this test run again as KOVRA_TEST_CHILD_JOB.
TEST_F(ReportLayoutTest, DataFileIsPrivateToItsJob)
{
    const char* childListing = std::getenv("KOVRA_TEST_CHILD_JOB");
    const fs::path runtime = dir / "runtime";
    if (!childListing) {
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1); // before the first job: the process's folder goes there
    }
    struct Job {
        std::string dataFile, firstLine;
        fs::perms file, folder, processFolder;
    };
    const auto firstLine = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        std::getline(in, line);
        return line;
    };
    const auto run = [&](int listing, const std::function<void(const Job&)>& meanwhile) {
        Job job;
        kovra::RunReportJob(
            kovra::kReportDataFile,
            [&](const std::string& dataFile) {
                kovra::ReportRequest r = request;
                r.shownListingNumber = listing;
                r.dataFile = dataFile;
                return kovra::WriteReport(listings, r);
            },
            [&](const kovra::ReportOutcome& written) {
                const fs::path file = written.dataFile;
                job = {written.dataFile, firstLine(written.dataFile), fs::status(file).permissions(),
                       fs::status(file.parent_path()).permissions(),
                       fs::status(file.parent_path().parent_path()).permissions()};
                meanwhile(job);
                return true;
            });
        return job;
    };
    if (childListing) {
        run(std::atoi(childListing), [](const Job& j) { std::printf("\nJOB\t%s\t%s\n", j.dataFile.c_str(), j.firstLine.c_str()); });
        return;
    }

    Job inner, other;
    const Job outer = run(1, [&](const Job& mine) {
        inner = run(2, [](const Job&) {});
        std::fflush(nullptr);
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        std::FILE* program = ::popen(("KOVRA_TEST_CHILD_JOB=3 '" + self +
                                      "' --gtest_filter=ReportLayoutTest.DataFileIsPrivateToItsJob").c_str(), "r");
        ASSERT_NE(program, nullptr);
        std::string said;
        for (char buffer[4096]; std::fgets(buffer, sizeof buffer, program);)
            said += buffer;
        ASSERT_EQ(::pclose(program), 0) << said;
        const std::size_t at = said.find("\nJOB\t");
        ASSERT_NE(at, std::string::npos) << said;
        const std::size_t tab = said.find('\t', at + 5), end = said.find('\n', at + 5);
        other = {said.substr(at + 5, tab - at - 5), said.substr(tab + 1, end - tab - 2), {}, {}, {}};
        EXPECT_EQ(firstLine(mine.dataFile), mine.firstLine) << "the other jobs wrote into this job's file";
    });

    struct Case {
        const char* what;
        const Job& job;
        const char* ordinal; // the page's first item names its listing
    };
    const Case cases[] = {{"the job", outer, "T1940;160;1;"}, {"a job run meanwhile", inner, "T1940;160;2;"},
                          {"another program's job", other, "T1940;160;3;"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(fs::path(c.job.dataFile).filename(), "KvReport.tmp");
        EXPECT_EQ(c.job.firstLine.rfind(c.ordinal, 0), 0u) << c.job.firstLine;
        EXPECT_FALSE(fs::exists(c.job.dataFile));
        EXPECT_FALSE(fs::exists(fs::path(c.job.dataFile).parent_path())) << "the job's folder stays";
    }
    const Job* const ownJobs[] = {&outer, &inner};
    for (const Job* job : ownJobs) {
        EXPECT_EQ(job->file, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(job->folder, fs::perms::owner_all);
        EXPECT_EQ(job->processFolder, fs::perms::owner_all);
    }
    EXPECT_NE(fs::path(outer.dataFile).parent_path(), fs::path(inner.dataFile).parent_path());
    // Left now: this program's own folder, empty until its end; the other
    // program's went with it.
    ASSERT_EQ(std::distance(fs::directory_iterator(runtime), fs::directory_iterator()), 1);
    const fs::path mine = fs::path(outer.dataFile).parent_path().parent_path();
    EXPECT_EQ(mine.parent_path(), runtime);
    EXPECT_TRUE(fs::is_empty(mine));
    EXPECT_FALSE(fs::exists(fs::path(other.dataFile).parent_path().parent_path()));
}
#endif

} // namespace
