// The browser's search without its window: found sets, stale results
// dropped, a document swapped mid-index, and results computed per search.
#include "UiTestSupport.h"

#include "BrowserSearch.h"
#include "SearchIndex.h"

#include <QSignalSpy>

namespace kovra::testing {
namespace {

// Counts the listings of every found set: a stand-in for statistics over it.
class CountStep final : public FoundSetStep {
public:
    std::any Run(const TListingDocument&, const search::SearchIndex&, const search::Query&,
                 std::span<const int> found) const override
    {
        return found.size();
    }
};

class BrowserSearchTest : public UiTest {
protected:
    DocumentPtr Load(const char* name, int listings)
    {
        std::vector<Columns> v;
        for (int n = 1; n <= listings; ++n)
            v.push_back(SaleListing(n));
        document_.Load(WriteListingFile(tmp_.path(), QString::fromLatin1(name), v), nullptr);
        return document_.Document();
    }
    static search::QueryDescription Text(const char* text) { return {text}; }
};

// Guards what a search hands back: the found set of the last search asked
// (an earlier one still running is dropped, never shown after it), a
// narrowing search refining the last found set to the same result, and a
// step's result travelling with its found set.
TEST_F(BrowserSearchTest, TheLastSearchIsHandedBackWithItsResults)
{
    TBrowserSearch search({Field::DataSyubetu});
    search.AddStep(std::make_shared<CountStep>());
    QSignalSpy searched(&search, &TBrowserSearch::Searched);
    search.SetDocument(Load("twelve.txt", 12));
    search.WaitIdle();
    ASSERT_NE(search.Index(), nullptr);
    EXPECT_EQ(search.Choices(0), (std::vector<std::string>{"売物件"}));

    struct Case {
        std::vector<const char*> typed; // searched one after another without waiting
        std::vector<int> found;
    };
    const Case cases[] = {
        {{"丸の内", "丸の内1"}, {0, 9, 10, 11}},
        {{"丸の内1"}, {0, 9, 10, 11}},
        {{"丸の内1", "丸の内11"}, {10}}, // narrows the found set
        {{"丸の内11", "どこにも"}, {}},
    };
    for (const Case& c : cases) {
        searched.clear();
        for (const char* text : c.typed)
            search.Search(Text(text));
        search.WaitIdle();
        EXPECT_EQ(searched.count(), 1) << c.typed.back();
        ASSERT_NE(search.Found(), nullptr);
        EXPECT_EQ(search.Found()->generation, search.LatestGeneration());
        EXPECT_EQ(search.Found()->listings, c.found) << c.typed.back();
        ASSERT_EQ(search.Found()->extras.size(), 1u);
        EXPECT_EQ(std::any_cast<std::size_t>(search.Found()->extras[0]), c.found.size());
    }
}

// Guards a document swapped while the old one's index is built: only the
// new document's index and found sets come back.
TEST_F(BrowserSearchTest, ADocumentSwappedMidIndexDropsTheOldOnesWork)
{
    TBrowserSearch search;
    QSignalSpy built(&search, &TBrowserSearch::IndexBuilt);
    const DocumentPtr first = Load("ten.txt", 10);
    const DocumentPtr second = Load("three.txt", 3);
    search.SetDocument(first);
    search.SetDocument(second);
    search.WaitIdle();
    EXPECT_EQ(built.count(), 1);
    EXPECT_EQ(search.Index()->count(), 3);
    search.Search(Text(""));
    search.WaitIdle();
    EXPECT_EQ(search.Found()->listings, (std::vector<int>{0, 1, 2}));
    search.SetDocument(nullptr);
    EXPECT_EQ(search.Found(), nullptr);
    EXPECT_EQ(search.Index(), nullptr);
}

} // namespace
} // namespace kovra::testing
