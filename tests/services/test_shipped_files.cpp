// The shipped files: found beside the program, also under a folder of their
// own; a missing one is named where it was expected.
#include "ShippedFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

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
