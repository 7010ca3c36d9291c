// What the viewer's 履歴 tab shows of one listing's life in the archive:
// one row per event with its date, the prices over time for the chart, and
// the days on the market.  Plain C++ over ListingHistory.
#pragma once

#include "Archive.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovra::archive {

struct LifeRow {
    std::string date; // yyyy-mm-dd
    std::string event;
};

// First seen, every status, price and field change in date order, last
// seen ("初回掲載", "価格 2680万円 → 2480万円", "状態 売物件 → 成約売物件",
// "項目変更 備考、交通", "最終掲載").
std::vector<LifeRow> LifeRows(const ListingHistory& history);

struct PricePoint {
    std::string date;
    double value = 0;
};

// The listing's prices that have a number, from its first appearance on
// (the price before its first price change, else `currentPrice`), then one
// per price change.
std::vector<PricePoint> PricePoints(const ListingHistory& history, std::string_view currentPrice);

// Days from one yyyy-mm-dd date to another; -1 when either is no date.
int DaysBetween(std::string_view from, std::string_view to);

} // namespace kovra::archive
