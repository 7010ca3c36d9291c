#include "ListingLife.h"

#include "ChangeTexts.h"
#include "FieldCaptions.h"
#include "ListingChanges.h"
#include "MessageTexts.h"

#include <charconv>
#include <chrono>

namespace kovra::archive {

namespace {

bool ParseDate(std::string_view text, std::chrono::sys_days& day)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int y = 0;
    unsigned m = 0, d = 0;
    auto number = [&](std::size_t at, std::size_t length, auto& out) {
        const auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + length, out);
        return ec == std::errc() && end == text.data() + at + length;
    };
    if (!number(0, 4, y) || !number(5, 2, m) || !number(8, 2, d))
        return false;
    const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
    if (!date.ok())
        return false;
    day = date;
    return true;
}

} // namespace

std::vector<LifeRow> LifeRows(const ListingHistory& history)
{
    std::vector<LifeRow> rows;
    if (history.appearances == 0)
        return rows;
    rows.push_back({history.firstSeen, std::string(msg::kLifeFirstSeen)});
    for (const HistoryChange& c : history.changes) {
        const ArchiveFinding& f = c.finding;
        if (f.kinds & changes::StatusChanged)
            rows.push_back({c.date, msg::LifeStatus(f.oldStatus, f.newStatus)});
        if (f.kinds & changes::PriceChanged)
            rows.push_back({c.date, msg::LifePrice(f.oldPrice, f.newPrice)});
        std::string captions;
        for (const int field : f.fields) {
            if (field == static_cast<int>(Field::DataSyubetu) || field == static_cast<int>(Field::Kakaku))
                continue;
            if (!captions.empty())
                captions += "、";
            captions += fieldCaption(field);
        }
        if (!captions.empty())
            rows.push_back({c.date, msg::LifeFields(captions)});
    }
    rows.push_back({history.lastSeen, std::string(msg::kLifeLastSeen)});
    return rows;
}

std::vector<PricePoint> PricePoints(const ListingHistory& history, std::string_view currentPrice)
{
    std::vector<PricePoint> points;
    if (history.appearances == 0)
        return points;
    std::string_view first = currentPrice;
    for (const HistoryChange& c : history.changes)
        if (c.finding.kinds & changes::PriceChanged) {
            first = c.finding.oldPrice;
            break;
        }
    if (const auto v = changes::PriceValue(first))
        points.push_back({history.firstSeen, *v});
    for (const HistoryChange& c : history.changes)
        if (c.finding.kinds & changes::PriceChanged)
            if (const auto v = changes::PriceValue(c.finding.newPrice))
                points.push_back({c.date, *v});
    return points;
}

int DaysBetween(std::string_view from, std::string_view to)
{
    std::chrono::sys_days a, b;
    if (!ParseDate(from, a) || !ParseDate(to, b))
        return -1;
    return static_cast<int>((b - a).count());
}

} // namespace kovra::archive
