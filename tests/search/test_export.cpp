// The CSV rules of the spreadsheet export, and that a failed export leaves
// nothing behind (test_export_xlsx.cpp: the same for XLSX).
#include "ListingExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using kovra::search::AppendCsvValue;

TEST(Csv, QuotesAndGuardsValues)
{
    struct Case {
        const char* text;
        const char* csv;
    };
    const Case cases[] = {
        {"青葉台", "青葉台"}, {"", ""}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"a\r\nb", "\"a\r\nb\""}, {"=SUM(A1)", "'=SUM(A1)"}, {"+81", "'+81"}, {"@x", "'@x"},
        {"\tx", "'\tx"}, {"\rx", "\"'\rx\""}, {"=a,b", "\"'=a,b\""},
        {"-", "-"}, {"-----", "-----"}, {"-----万円", "-----万円"}, {"-5万円", "-5万円"},
        {"-x", "'-x"}, {"- 1", "'- 1"}, {"a=b", "a=b"},
    };
    for (const Case& c : cases) {
        std::string out;
        AppendCsvValue(out, c.text);
        EXPECT_EQ(out, c.csv) << c.text;
    }
}

TEST(Export, AFailedWriteLeavesNoFile)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "kovra_export_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<kovra::TKovraDataClass> none;
    const std::vector<int> order;
    const auto into = [](const fs::path& p) { // paths are UTF-8 inside the program
        const std::u8string u8 = p.u8string();
        return std::string(u8.begin(), u8.end());
    };

    // A folder as the target, and a folder that does not exist.
    EXPECT_FALSE(kovra::search::ExportListings(none, order, kovra::search::WriteCsv, into(dir), {}).ok);
    const auto missing = kovra::search::ExportListings(none, order, kovra::search::WriteCsv, into(dir / "no" / "x.csv"), {});
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("を作成できません"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir));

    // The export file itself is refused, by any spelling, and kept.
    std::ofstream(dir / "in.txt") << "listings";
    const auto onInput = kovra::search::ExportListings(none, order, kovra::search::WriteCsv, into(dir / "." / "in.txt"),
                                                       kovra::fileio::JobInputs{into(dir / "in.txt")});
    EXPECT_TRUE(onInput.outputIsInput);
    EXPECT_EQ(onInput.message, "出力ファイル " + into(dir / "." / "in.txt") + " は入力ファイルと同じファイルです");
    fs::remove(dir / "in.txt");

    // An existing file is replaced whole.
    std::ofstream(dir / "out.csv") << "old";
    ASSERT_TRUE(kovra::search::ExportListings(none, order, kovra::search::WriteCsv, into(dir / "out.csv"), {}).ok);
    std::ifstream in(dir / "out.csv", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    in.close(); // Windows removes no open file
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF物件番号,登録（成約）年月日,"));
    EXPECT_TRUE(bytes.ends_with(",管理会社\r\n"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    fs::remove_all(dir);
}

} // namespace
