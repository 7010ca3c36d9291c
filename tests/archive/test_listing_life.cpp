// A listing's life as the 履歴 tab shows it: the rows of its events, the
// prices of its chart and its days on the market.
#include "ListingLife.h"

#include "ListingChanges.h"

#include <gtest/gtest.h>

namespace {

using namespace kovra;
using namespace kovra::archive;

HistoryChange Change(const char* date, unsigned kinds, const char* oldPrice = "", const char* newPrice = "",
                     std::vector<int> fields = {})
{
    HistoryChange c;
    c.date = date;
    c.finding.kinds = kinds;
    c.finding.oldStatus = "売物件";
    c.finding.newStatus = "成約売物件";
    c.finding.oldPrice = oldPrice;
    c.finding.newPrice = newPrice;
    c.finding.fields = std::move(fields);
    return c;
}

TEST(ListingLifeTest, RowsAndPricePointsFollowTheChanges)
{
    const int remark = static_cast<int>(Field::Bikou), price = static_cast<int>(Field::Kakaku);
    struct Case {
        std::vector<HistoryChange> changes;
        std::vector<std::string> rows; // "date event"
        std::vector<double> prices;
    } cases[] = {
        {{}, {"2024-12-01 初回掲載", "2024-12-30 最終掲載"}, {2480}}, // one price: no chart
        {{Change("2024-12-05", changes::PriceChanged, "2680万円", "2480万円", {price})},
         {"2024-12-01 初回掲載", "2024-12-05 価格 2680万円 → 2480万円", "2024-12-30 最終掲載"},
         {2680, 2480}},
        {{Change("2024-12-05", changes::PriceChanged | changes::FieldsChanged, "-----万円", "2480万円",
                 {price, remark}),
          Change("2024-12-20", changes::StatusChanged)},
         {"2024-12-01 初回掲載", "2024-12-05 価格 -----万円 → 2480万円", "2024-12-05 項目変更 備考",
          "2024-12-20 状態 売物件 → 成約売物件", "2024-12-30 最終掲載"},
         {2480}}, // a price without a number is no point
    };
    for (const Case& c : cases) {
        ListingHistory h;
        h.firstSeen = "2024-12-01";
        h.lastSeen = "2024-12-30";
        h.appearances = 3;
        h.changes = c.changes;
        std::vector<std::string> rows;
        for (const LifeRow& r : LifeRows(h))
            rows.push_back(r.date + " " + r.event);
        EXPECT_EQ(rows, c.rows);
        std::vector<double> prices;
        for (const PricePoint& p : PricePoints(h, "2480万円"))
            prices.push_back(p.value);
        EXPECT_EQ(prices, c.prices);
    }
    EXPECT_TRUE(LifeRows(ListingHistory{}).empty()); // never imported
}

TEST(ListingLifeTest, DaysBetweenDates)
{
    struct Case {
        const char* from;
        const char* to;
        int days;
    } cases[] = {
        {"2024-12-01", "2024-12-01", 0}, {"2024-12-01", "2024-12-31", 30}, {"2024-02-28", "2024-03-01", 2},
        {"2023-12-31", "2024-01-01", 1}, {"2024-13-01", "2024-12-01", -1}, {"", "2024-12-01", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DaysBetween(c.from, c.to), c.days) << c.from << " " << c.to;
}

} // namespace
