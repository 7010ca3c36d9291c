// Market figures (kovra stats, the market panel) and the comparison sheet:
// the figures against hand-computed values, the groups in the search's
// order with sales and rents kept apart, and each column read against the
// market of its own kind.
#include "CompareSheet.h"
#include "ListingDocument.h"
#include "MarketFigures.h"
#include "SearchIndex.h"

#include "ListingWithTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

using namespace kovra;
using namespace kovra::search;

constexpr int F(Field f) { return static_cast<int>(f); }

TEST(MarketFigures, FiguresAreTheHandComputedOnes)
{
    struct Case {
        std::vector<double> values; // file order
        int n;
        const char* expected; // min p25 median p75 max mean
    };
    const Case cases[] = {
        {{}, 0, ""},
        {{5}, 1, "5 5 5 5 5 5"},
        {{4, 1, 3, 2}, 4, "1 1.75 2.5 3.25 4 2.5"},
        {{2480, 1980, 3200}, 3, "1980 2230 2480 2840 3200 2553.33"},
        {{3, 3, 1, 3, 2}, 5, "1 2 3 3 3 2.4"},
        {{-5, 10}, 2, "-5 -1.25 2.5 6.25 10 2.5"},
        {{104.28, 104.28, 1823.5}, 3, "104.28 104.28 104.28 963.89 1823.5 677.35"},
        {{-0.001, 0.001}, 2, "0 0 0 0 0 0"}, // never "-0"
    };
    for (const Case& c : cases) {
        const Figures f = ComputeFigures(c.values);
        EXPECT_EQ(f.n, c.n);
        if (f.n == 0)
            continue;
        std::string text;
        for (const double v : {f.min, f.p25, f.median, f.p75, f.max, f.mean})
            text += (text.empty() ? "" : " ") + FigureText(v);
        EXPECT_EQ(text, c.expected);
    }
}

class Market : public ::testing::Test {
protected:
    Market()
    {
        using T = std::map<Field, std::string>;
        for (const T& t : {
                 T{{Field::BukkennNum, "1001"}, {Field::DataSyubetu, "売物件"}, {Field::BukkennSyumoku, "中古マンション"},
                   {Field::Kakaku, "2480万円"}, {Field::HeyaKazu, "3LDK"}},
                 T{{Field::BukkennNum, "1002"}, {Field::DataSyubetu, "賃貸物件"}, {Field::BukkennSyumoku, "中古マンション"},
                   {Field::Kakaku, "12万円"}, {Field::HeyaKazu, "2DK"}, {Field::Kanrihi, "12,000円"}},
                 T{{Field::BukkennNum, "1001"}, {Field::DataSyubetu, "売物件"}, {Field::BukkennSyumoku, "売地"},
                   {Field::Kakaku, "-----万円"}},
                 T{{Field::BukkennNum, "1004"}, {Field::DataSyubetu, "成約売物件"}, {Field::BukkennSyumoku, "中古マンション"},
                   {Field::Kakaku, "1980万円"}, {Field::HeyaKazu, "3LDK"}},
                 T{{Field::BukkennNum, "1005"}, {Field::DataSyubetu, "賃貸物件"}, {Field::BukkennSyumoku, "アパート"},
                   {Field::Kakaku, "8万円"}, {Field::HeyaKazu, "10LDK"}, {Field::Kanrihi, "9,000円"}},
             })
            document_.ListingTable.push_back(test::ListingWithTexts(t));
        document_.ListingCount = static_cast<int>(document_.ListingTable.size());
        index_ = std::make_unique<SearchIndex>(document_);
    }

    TListingDocument document_;
    std::unique_ptr<SearchIndex> index_;
};

TEST_F(Market, GroupsComeInTheSearchOrderAndKeepSalesAndRentsApart)
{
    struct Group {
        std::string kind, name;
        std::size_t count;
        int pricesKnown;
        bool operator==(const Group&) const = default;
    };
    struct Case {
        std::vector<int> found;
        int groupField;
        bool separate;
        std::vector<Group> groups;
    };
    const Case cases[] = {
        {{4, 3, 2, 1, 0, 9, -1}, -1, false, {{"", "全体", 5, 4}}}, // any order; others passed over
        {{3, 0, 2}, F(Field::BukkennSyumoku), false, {{"", "中古マンション", 2, 2}, {"", "売地", 1, 0}, {"", "全体", 3, 2}}},
        {{0, 1, 2, 3, 4}, F(Field::HeyaKazu), false, // numbers first, then texts
         {{"", "2DK", 1, 1}, {"", "3LDK", 2, 2}, {"", "10LDK", 1, 1}, {"", "", 1, 0}, {"", "全体", 5, 4}}},
        {{0, 1, 2, 3, 4}, -1, true, {{"売物件", "全体", 2, 1}, {"成約売物件", "全体", 1, 1}, {"賃貸物件", "全体", 2, 2}}},
        {{0, 1, 4}, F(Field::BukkennSyumoku), true,
         {{"売物件", "中古マンション", 1, 1}, {"売物件", "全体", 1, 1}, {"賃貸物件", "アパート", 1, 1},
          {"賃貸物件", "中古マンション", 1, 1}, {"賃貸物件", "全体", 2, 2}}},
        {{0, 2, 3}, -1, true, {{"", "全体", 3, 2}}}, // sales only: nothing to keep apart
        {{}, F(Field::HeyaKazu), true, {}},
    };
    for (const Case& c : cases) {
        MarketRequest request;
        request.groupField = c.groupField;
        request.separateSaleAndRent = c.separate;
        const MarketFigures figures = ComputeMarketFigures(document_, *index_, c.found, request);
        std::vector<Group> groups;
        for (const MarketGroup& g : figures.groups)
            groups.push_back({g.kind, g.name, g.listings.size(), g.figures[0].n});
        EXPECT_EQ(groups, c.groups) << c.groupField << " " << c.separate;
        for (const MarketGroup& g : figures.groups)
            EXPECT_TRUE(std::is_sorted(g.listings.begin(), g.listings.end()));
    }
    // The values per listing, for a histogram and a scatter plot.
    const MarketFigures all = ComputeMarketFigures(document_, *index_, std::vector<int>{4, 3, 2, 1, 0}, MarketRequest{});
    EXPECT_EQ(all.listings, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(all.values.size(), 4u);
    EXPECT_EQ(all.values[0][3], 1980);
    EXPECT_TRUE(std::isnan(all.values[0][2]));
}

TEST_F(Market, CompareSheetReadsEachColumnAgainstItsOwnKind)
{
    EXPECT_EQ(FindListingNumber(*index_, "1001"), 2) << "the last listing with the number";
    EXPECT_EQ(FindListingNumber(*index_, "１００５"), 4);
    EXPECT_EQ(FindListingNumber(*index_, "1003"), std::nullopt);

    const std::vector<int> all{0, 1, 2, 3, 4};
    const CompareSheet sheet = MakeCompareSheet(document_, *index_, all, std::vector<int>{3, 1, 99},
                                                std::vector<int>{F(Field::Kakaku), F(Field::HeyaKazu), F(Field::Kanrihi)});
    EXPECT_EQ(sheet.listings, (std::vector<int>{3, 1}));
    EXPECT_EQ(sheet.marketCount, 5);
    struct Row {
        std::string label;
        std::vector<std::string> cells, market, deviation;
    };
    const Row rows[] = {
        // Sales 2480 and 1980 (no value passed over); rents 12 and 8.
        {"価格", {"1980万円", "12万円"}, {"2230万円", "10万円"}, {"-11.2%", "+20.0%"}},
        {"間取り", {"3LDK", "2DK"}, {}, {}},
        // No sale has a fee; the rents' median keeps the texts' digit groups.
        {"管理費", {"", "12,000円"}, {"", "10,500円"}, {"", "+14.3%"}},
    };
    ASSERT_EQ(sheet.rows.size(), std::size(rows));
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const CompareRow& got = sheet.rows[r];
        EXPECT_EQ(got.label, rows[r].label);
        EXPECT_EQ(got.cells, rows[r].cells) << got.label;
        EXPECT_EQ(got.market, rows[r].market) << got.label;
        EXPECT_EQ(got.deviation, rows[r].deviation) << got.label;
    }
}

} // namespace
