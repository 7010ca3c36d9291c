// The print data writer: its lines byte for byte, colour names, settings.
#include "Cp932Codec.h"
#include "HostileFiles.h"
#include "PrintTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using kovra::TPrintTool;
namespace fs = std::filesystem;

std::string ReadUtf8(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return cp932::toUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
}

class PrintToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TPrintTool::ResetSettings();
        // One file per test: CTest runs the cases of this file side by side.
        file = fs::temp_directory_path() / ("kovra_print_tool_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".tmp");
        TPrintTool().SetDataFileName(file.string());
    }
    void TearDown() override
    {
        fs::remove(file);
        TPrintTool::ResetSettings();
    }
    fs::path file;
};

// Guards the item line's nineteen pieces, negative numbers and the CP932 bytes.
TEST_F(PrintToolTest, WritesItemLinesExactly)
{
    TPrintTool tool;
    ASSERT_TRUE(tool.OpenDataFile());
    tool.WriteItem(1940, 160, "12", "ＭＳ 明朝", 9, "", "N", "0");
    tool.WriteItem(550, 440, "12", "ＭＳ 明朝", 12, "B", "r+", "0");
    tool.WriteItem(-5, -120, "a;b", "", 0, "BI", "white", "");
    tool.EndPage();
    ASSERT_TRUE(tool.CloseDataFile());
    EXPECT_EQ(ReadUtf8(file), "T1940;160;12;ＭＳ 明朝;9;;0;0;\r\n\r\n"
                              "T550;440;12;ＭＳ 明朝;12;B;9;0;\r\n\r\n"
                              "T-5;-120;a;b;;0;BI;0;;\r\n\r\n"
                              "E\r\n");
    std::ifstream raw(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(raw)), {});
    EXPECT_NE(bytes.find("\x82\x6c\x82\x72 \x96\xbe\x92\xa9"), std::string::npos) << "face name in CP932";
}

// Guards the colour table: only the listed spellings, case folded.
TEST_F(PrintToolTest, ColourCodeFromName)
{
    const std::pair<const char*, int> cases[] = {
        {"N", 0}, {"r", 1}, {"G", 2}, {"gr", 3}, {"RG", 3}, {"B", 4}, {"BR", 5}, {"rb", 5}, {"BG", 6}, {"GB", 6},
        {"N+", 7}, {"n*", 7}, {"W", 8}, {"R+", 9}, {"R*", 9}, {"G+", 10}, {"g*", 10}, {"B+", 11}, {"B*", 11},
        {"BR+", 12}, {"BR*", 12}, {"RB*", 12}, {"RB+", 0}, {"BG+", 13}, {"GB+", 13}, {"BG*", 13}, {"gb*", 13},
        {"W+", 14}, {"W*", 14}, {"GR+", 15}, {"RG+", 15}, {"GR*", 0}, {"white", 0}, {"", 0}, {"Ｎ", 0},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(TPrintTool::ColourCodeFromName(name), code) << name;
}

// Guards the data file's life: the old file stays whole until the new one is
// complete (a failed report never leaves it empty), settings kept between objects.
TEST_F(PrintToolTest, OldFileKeptUntilCloseAndSettingsPersist)
{
    std::ofstream(file, std::ios::binary) << "old content";
    {
        TPrintTool tool;
        ASSERT_TRUE(tool.OpenDataFile());
        tool.WriteItem(1, 2, "x", "", 9, "", "N", "0");
        EXPECT_EQ(ReadUtf8(file), "old content");
        ASSERT_TRUE(tool.CloseDataFile());
        EXPECT_EQ(ReadUtf8(file), "T1;2;x;;9;;0;0;\r\n\r\n");
        tool.SetShowPrintDialog(false);
        tool.SetPaperCode(9);
    }
    TPrintTool second;
    EXPECT_EQ(TPrintTool::Settings().showPrintDialog, 0);
    EXPECT_EQ(TPrintTool::Settings().paperCode, 9);
    EXPECT_EQ(TPrintTool::Settings().printingMessage, "只今、印刷中");
    EXPECT_EQ(TPrintTool::Settings().printForm, 1);
}

// Guards unwritable paths and characters the code page lacks.
TEST_F(PrintToolTest, FailuresAndUnmappableText)
{
    TPrintTool tool;
    tool.SetDataFileName((fs::temp_directory_path() / "no" / "such" / "dir" / "x.tmp").string());
    EXPECT_FALSE(tool.OpenDataFile());
    EXPECT_FALSE(tool.CloseDataFile());

    tool.SetDataFileName(file.string());
    ASSERT_TRUE(tool.OpenDataFile());
    tool.WriteItem(0, 0, "€😀", "", 9, "", "N", "0");
    ASSERT_TRUE(tool.CloseDataFile());
    EXPECT_EQ(tool.UnmappableCount(), 2u);
    EXPECT_EQ(ReadUtf8(file), "T0;0;??;;9;;0;0;\r\n\r\n");

    // A full disk: the report fails and the previous data file stays whole.
    std::ofstream(file, std::ios::binary) << "old content";
    kovra::test::DiskFullAfter full(4096);
    if (!full.active())
        GTEST_SKIP() << "no file-size limit here";
    ASSERT_TRUE(tool.OpenDataFile());
    for (int i = 0; i < 20000; ++i)
        tool.WriteItem(i, i, "物件", "ＭＳ 明朝", 9, "", "N", "0");
    EXPECT_FALSE(tool.CloseDataFile());
    EXPECT_EQ(ReadUtf8(file), "old content");
    for (const auto& e : fs::directory_iterator(file.parent_path())) {
        EXPECT_FALSE(e.path().filename().string().starts_with(".kovra-")) << e.path();
    }
}

} // namespace
