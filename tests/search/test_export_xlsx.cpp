// The XLSX export where it is built: a failed write leaves nothing
// behind, and a text longer than a cell holds is cut and counted.
#include "XlsxExport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExportXlsx, FailsWholeAndCutsLongTexts)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "kovra_export_xlsx_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto into = [](const fs::path& p) { // paths are UTF-8 inside the program
        const std::u8string u8 = p.u8string();
        return std::string(u8.begin(), u8.end());
    };

    std::vector<kovra::TKovraDataClass> none;
    const std::vector<int> order;
    const auto missing = kovra::search::ExportListings(none, order, kovra::search::WriteXlsx, into(dir / "no" / "x.xlsx"), {});
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("を作成できません"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir));

    // A text longer than a cell holds is cut, and said so; the rest is written.
    kovra::RecordBuilder b;
    b.add(std::string(40000, 'x'));
    std::vector<kovra::TKovraDataClass> huge;
    huge.push_back(b.finish());
    const std::vector<int> one = {0};
    const auto cut = kovra::search::ExportListings(huge, one, kovra::search::WriteXlsx, into(dir / "huge.xlsx"), {});
    EXPECT_TRUE(cut.ok);
    EXPECT_EQ(cut.shortenedCells, 1);
    fs::remove_all(dir);
}

} // namespace
