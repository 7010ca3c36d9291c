// The CSV rules of the spreadsheet export, and that a failed export leaves
// nothing behind (test_export_xlsx.cpp: the same for XLSX).
#include "ListingExport.h"
#include "NumberCells.h"

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

// Guards the number cells of the XLSX: the format must show the text
// exactly, or the text stays text.
TEST(Xlsx, NumberCellsShowTheirTextExactly)
{
    struct Case {
        const char* text;
        double value;
        const char* format; // nullptr: stays text
    };
    const Case cases[] = {
        {"2480万円", 2480, "0\"万円\""}, {"104.28㎡", 104.28, "0.00\"㎡\""}, {"120,000円", 120000, "#,##0\"円\""},
        {"0.05", 0.05, "0.00"},
        {"8分", 8, "0\"分\""}, {"21000100", 21000100, "0"}, {"-5万円", -5, "0\"万円\""}, {"5.0m", 5, "0.0\"m\""},
        {"1,234,567.5", 1234567.5, "#,##0.0"}, {"0.5ケ月", 0.5, "0.0\"ケ月\""},
        {"-----万円", 0, nullptr}, {"", 0, nullptr}, {"平成9年", 0, nullptr}, {"012ケ月", 0, nullptr},
        {"1,20,000円", 0, nullptr}, {"12,34", 0, nullptr}, {"03-1234-5678", 0, nullptr}, {"2LDK3室", 0, nullptr},
        {"5.円", 0, nullptr}, {"-0", 0, nullptr}, {"1.2,3", 0, nullptr}, {"3階建で日当たり良好", 0, nullptr},
        {"10\"", 0, nullptr}, {"1234567890123456", 0, nullptr}, {"２４８０万円", 0, nullptr}, {"7号５", 0, nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<kovra::search::NumberCell> cell = kovra::search::NumberCellOf(c.text);
        ASSERT_EQ(cell.has_value(), c.format != nullptr) << c.text;
        if (cell) {
            EXPECT_EQ(cell->value, c.value) << c.text;
            EXPECT_EQ(std::stod(cell->digits), c.value) << c.text;
            EXPECT_EQ(cell->format, c.format) << c.text;
        }
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
