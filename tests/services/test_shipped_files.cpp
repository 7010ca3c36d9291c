// The shipped files: found beside the program, also under a folder of their
// own; a missing one is named where it was expected.
#include "ShippedFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kovra::services;
namespace fs = std::filesystem;

// Guards every shipped file being looked up in one place, with the
// program's folder first.
TEST(ShippedFiles, FoundBesideTheProgram)
{
    const fs::path data = fs::path(KOVRA_SOURCE_DIR) / "data";
    SetProgramFolder(data.string());
    const struct {
        const char* name;
        bool exists;
    } cases[] = {{"LblTag", true}, {"KvReport.FOM", true}, {"samples/sample.txt", true}, {"NoSuchFile", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path found = ShippedFile(c.name);
        EXPECT_EQ(fs::exists(found), c.exists);
        EXPECT_EQ(found, (data / c.name).make_preferred());
    }
    EXPECT_EQ(ShippedFilePlaces().front(), data.string());
    SetProgramFolder({});
    EXPECT_NE(ProgramFolder(), data.string());
    EXPECT_TRUE(fs::is_directory(ProgramFolder()));
}

// Guards an installed program finding its files in share/kovra-viewer, and
// a file beside the program (a build folder) still coming first.
TEST(ShippedFiles, FoundInTheInstalledLayout)
{
#ifdef _WIN32
    GTEST_SKIP() << "installed beside the program on Windows";
#else
    const fs::path root = fs::temp_directory_path() / "kovra_installed_layout";
    fs::remove_all(root);
    const fs::path bin = root / "bin", shared = root / "share" / "kovra-viewer";
    fs::create_directories(bin);
    fs::create_directories(shared);
    for (const fs::path& p : {shared / "LblTag", shared / "FieldList", bin / "FieldList"})
        std::ofstream(p) << "x";
    SetProgramFolder(bin.string());
    const std::pair<const char*, fs::path> cases[] = {
        {"LblTag", shared / "LblTag"},       // installed only
        {"FieldList", bin / "FieldList"},    // beside the program first
        {"Readme.txt", bin / "Readme.txt"},  // nowhere: named beside the program
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(fs::path(ShippedFile(name)), expected) << name;
    SetProgramFolder({});
    fs::remove_all(root);
#endif
}
