// The document on show: a load swaps in a new document whole (or nothing),
// the observer hears of every change, and a run's hold refuses loads.
#include "Cp932Codec.h"
#include "DocumentSlot.h"
#include "ListingLine.h"
#include "ScriptedPrompter.h"
#include "Utf8Path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace kovra;
using Status = LoadOutcome::Status;
namespace fs = std::filesystem;

class DocumentSlotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir_);
        slot_.SetObserver([this] { ++changes_; });
        // What the slot shows while each message is up.
        prompter_.answer = [this](const Question& q) {
            said_.push_back({q.text, slot_.Document()->Outcome.status});
            return Answer::Ok;
        };
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const char* name, const std::string& utf8Text)
    {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << cp932::fromUtf8(utf8Text);
        return test::Utf8(p);
    }

    const fs::path dir_ = fs::temp_directory_path() / "kovra_document_slot_test";
    DocumentSlot slot_;
    int changes_ = 0;
    struct Said {
        std::string text;
        Status shownWhileSaid;
    };
    std::vector<Said> said_;
    kovra::testing::ScriptedPrompter prompter_;
};

// Guards the swap: which loads replace the document on show, what the
// observer hears, and whether a message comes before or after the swap.
TEST_F(DocumentSlotTest, ALoadSwapsInAWholeDocumentOrNothing)
{
    const std::string good = Write("good.txt", test::ListingLine().set(1, "K-1").str() + "\r\n");
    const std::string bad = Write("bad.txt", test::ListingLine().set(3, "x").str() + "\r\n");
    const std::string empty = Write("empty.txt", "3,,,,,100401\r\n");
    struct Case {
        std::string path;
        Status status;
        bool replaces;
        int count;
        Status shownWhileSaid; // the outcome on show while the message is up
    };
    const Case cases[] = {
        {good, Status::Ok, true, 1, Status::Ok},
        {test::Utf8(dir_ / "missing.txt"), Status::CannotOpen, false, 1, Status::Ok},
        {bad, Status::ConversionError, true, 0, Status::Ok}, // said before the swap
        {empty, Status::NoListings, true, 0, Status::NoListings}, // said after it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const DocumentPtr before = slot_.Document();
        changes_ = 0;
        said_.clear();
        const LoadOutcome outcome = slot_.Load(c.path);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(slot_.Document() != before, c.replaces);
        EXPECT_EQ(changes_, c.replaces ? 1 : 0);
        EXPECT_EQ(slot_.Document()->ListingCount, c.count);
        ASSERT_EQ(said_.size(), outcome.ok() ? 0u : 1u);
        if (!said_.empty()) {
            EXPECT_EQ(said_[0].text, outcome.message);
            EXPECT_EQ(said_[0].shownWhileSaid, c.shownWhileSaid);
        }
        if (c.replaces) {
            EXPECT_EQ(slot_.Document()->CurrentFileName, c.path);
        }
    }
}

// Guards the run's hold: loads are refused (and said so) while a run reads
// the document, the document it reads stays alive and whole, and the
// observer hears of the start and the end; another slot is not held.
TEST_F(DocumentSlotTest, ARunHoldsItsDocumentAgainstLoads)
{
    const std::string good = Write("good.txt", test::ListingLine().set(1, "K-1").str() + "\r\n");
    ASSERT_TRUE(slot_.Load(good).ok());
    changes_ = 0;
    DocumentSlot::RunLease run = slot_.BeginRun();
    EXPECT_TRUE(slot_.InUseByRun());
    EXPECT_EQ(changes_, 1);

    EXPECT_EQ(slot_.Load(good).status, Status::InUse);
    EXPECT_EQ(&run.Document(), slot_.Document().get());
    ASSERT_EQ(said_.size(), 1u);

    DocumentSlot other; // the file to compare with
    EXPECT_TRUE(other.Load(good).ok());
    EXPECT_FALSE(other.InUseByRun());

    run.Release();
    EXPECT_FALSE(slot_.InUseByRun());
    EXPECT_EQ(changes_, 2);
    EXPECT_TRUE(slot_.Load(good).ok());
}

} // namespace
