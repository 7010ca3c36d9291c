#include "CompareSheet.h"

#include "ExportRows.h"
#include "FieldColumnTitles.h"
#include "ListingDocument.h"
#include "ListingExport.h"
#include "MessageTexts.h"
#include "SearchIndex.h"
#include "TextFolding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace kovra::search {

namespace {

constexpr auto F(Field f) { return static_cast<int>(f); }

constexpr std::array kQuantityFields = {
    F(Field::Kakaku),         F(Field::TotiMenseki),    F(Field::TuboTanka),      F(Field::TatemonoMenseki),
    F(Field::SidouMenseki),   F(Field::Bus),            F(Field::Toho0),          F(Field::Toho1),
    F(Field::KenpeiRitu),     F(Field::YousekiRitu),    F(Field::SetudouFukuin0), F(Field::SetudouFukuin1),
    F(Field::SetudouFukuin2), F(Field::SetudouFukuin3), F(Field::SetudouSetumen), F(Field::Kanrihi),
    F(Field::SyouhiZei),      F(Field::TijyouKai),      F(Field::TikaKai),        F(Field::SyozaiKai),
    F(Field::SouKosuu),       F(Field::HeyaHirosa1),    F(Field::HeyaHirosa2),    F(Field::HeyaHirosa3),
    F(Field::HeyaHirosa4),    F(Field::SyakutiRyou),    F(Field::SisetuHiyou),    F(Field::TyusyaRyou),
    F(Field::SyuzenTumitate),
};

// What follows the number in a text of a quantity: "万円" of "2,480万円".
std::string_view UnitOf(std::string_view text)
{
    const std::size_t end = text.find_first_not_of("-0123456789,.");
    return end == std::string_view::npos ? std::string_view() : text.substr(end);
}

// "12000" -> "12,000", for a field whose texts group their digits.
std::string WithGroups(std::string figure)
{
    const std::size_t first = figure.starts_with('-') ? 1 : 0;
    for (std::size_t at = std::min(figure.find('.'), figure.size()); at > first + 3; at -= 3)
        figure.insert(at - 3, 1, ',');
    return figure;
}

std::string DeviationText(double value, double median)
{
    const double percent = (value / median - 1) * 100;
    if (std::fabs(percent) < 0.05)
        return "±0%";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%+.1f%%", percent);
    return buffer;
}

// The market of one kind of trade: per quantity row its median, and the
// unit and digit grouping of the field's texts there.
struct Market {
    std::vector<Figures> figures; // per quantity field, in `fields` order
    std::vector<std::string_view> unit;
    std::vector<bool> grouped;
};

Market MarketOf(const TListingDocument& document, const SearchIndex& index, std::span<const int> listings,
                const std::vector<int>& fields)
{
    Market market;
    MarketRequest request;
    request.measures = fields;
    const MarketFigures figures = ComputeMarketFigures(document, index, listings, request);
    for (std::size_t m = 0; m < fields.size(); ++m) {
        market.figures.push_back(figures.groups.empty() ? Figures{} : figures.groups.back().figures[m]);
        // The first listing with a value shows how the field writes one.
        std::string_view unit;
        bool grouped = false;
        for (std::size_t k = 0; k < figures.listings.size(); ++k) {
            if (!std::isnan(figures.values[m][k])) {
                const std::string_view text = document.ListingTable[static_cast<std::size_t>(figures.listings[k])].field(fields[m]);
                unit = UnitOf(text);
                grouped = text.find(',') != std::string_view::npos;
                break;
            }
        }
        market.unit.push_back(unit);
        market.grouped.push_back(grouped);
    }
    return market;
}

} // namespace

std::vector<int> DefaultCompareRows()
{
    return {F(Field::BukkennNum),      F(Field::DataSyubetu), F(Field::BukkennSyumoku), F(Field::Kakaku),
            F(Field::TuboTanka),       F(Field::Syozaitimei), F(Field::Koutuu),         F(Field::Toho0),
            F(Field::TotiMenseki),     F(Field::TatemonoMenseki), F(Field::HeyaKazu),   F(Field::TikuNengetu),
            F(Field::YoutoTiiki),      F(Field::KenpeiRitu),  F(Field::YousekiRitu),    F(Field::Genkyou),
            F(Field::HikiwatasiJiki)};
}

bool IsQuantityField(int field)
{
    return std::find(kQuantityFields.begin(), kQuantityFields.end(), field) != kQuantityFields.end();
}

std::string CompareColumnHead(int column)
{
    return "物件" + std::string(1, static_cast<char>('A' + column));
}

CompareSheet MakeCompareSheet(const TListingDocument& document, const SearchIndex& index, std::span<const int> found,
                              std::span<const int> chosen, std::span<const int> rows)
{
    CompareSheet sheet;
    sheet.searchDate = document.KensakuNengappi;
    const int count = std::min(document.ListingCount, index.count());
    for (const int i : chosen)
        if (i >= 0 && i < count)
            sheet.listings.push_back(i);

    std::vector<int> fields; // the rows' quantities, once each
    for (const int f : rows)
        if (IsQuantityField(f) && std::find(fields.begin(), fields.end(), f) == fields.end())
            fields.push_back(f);

    // The found set by kind of trade, and the market of each kind a column needs.
    const auto kindOf = [&](int i) {
        return TradeKindOf(document.ListingTable[static_cast<std::size_t>(i)].field(Field::DataSyubetu));
    };
    std::array<std::vector<int>, 3> setOfKind;
    for (const int i : found) {
        if (i >= 0 && i < count) {
            setOfKind[static_cast<std::size_t>(kindOf(i))].push_back(i);
            ++sheet.marketCount;
        }
    }
    std::array<std::optional<Market>, 3> marketOfKind;
    if (!fields.empty())
        for (const int i : sheet.listings)
            if (auto& market = marketOfKind[static_cast<std::size_t>(kindOf(i))]; !market)
                market = MarketOf(document, index, setOfKind[static_cast<std::size_t>(kindOf(i))], fields);

    for (const int f : rows) {
        if (f < 0 || f >= kFieldCount)
            continue;
        CompareRow row;
        row.field = f;
        row.label = std::string(fieldColumnTitle(f));
        row.quantity = IsQuantityField(f);
        const std::size_t m = static_cast<std::size_t>(std::find(fields.begin(), fields.end(), f) - fields.begin());
        for (const int i : sheet.listings) {
            row.cells.emplace_back(document.ListingTable[static_cast<std::size_t>(i)].field(f));
            if (!row.quantity)
                continue;
            const Market& market = *marketOfKind[static_cast<std::size_t>(kindOf(i))];
            const Figures& figures = market.figures[m];
            std::string median, deviation;
            if (figures.n > 0) {
                const std::string number = FigureText(figures.median);
                median = (market.grouped[m] ? WithGroups(number) : number) + std::string(market.unit[m]);
                if (const auto value = index.numericValue(i, f); value && figures.median != 0)
                    deviation = DeviationText(*value, figures.median);
            }
            row.market.push_back(std::move(median));
            row.deviation.push_back(std::move(deviation));
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

std::optional<int> FindListingNumber(const SearchIndex& index, std::string_view number)
{
    const std::string folded = FoldText(number);
    for (int i = index.count() - 1; i >= 0; --i)
        if (index.foldedText(i, F(Field::BukkennNum)) == folded)
            return i;
    return std::nullopt;
}

ExportOutcome WriteCompareCsv(const CompareSheet& sheet, const std::string& path, const fileio::JobInputs& inputs)
{
    std::string out = "\xEF\xBB\xBF";
    std::vector<std::string> heads;
    for (std::size_t c = 0; c < sheet.listings.size(); ++c)
        heads.push_back(CompareColumnHead(static_cast<int>(c)));
    auto appendRow = [&](std::string_view label, const std::vector<std::string>& cells) {
        std::vector<std::string_view> line{label};
        line.insert(line.end(), cells.begin(), cells.end());
        AppendCsvRow(out, line);
    };
    appendRow("項目", heads);
    for (const CompareRow& row : sheet.rows) {
        appendRow(row.label, row.cells);
        if (row.quantity)
            appendRow(row.label + "（相場）", row.market);
    }
    ExportOutcome outcome;
    fileio::SafeSaveFile file(path, fileio::Durability::SyncedToDisk, &inputs);
    outcome.ok = file.open() && file.write(out) && file.commit();
    outcome.outputIsInput = file.refusedAsInput();
    if (!outcome.ok)
        outcome.message = outcome.outputIsInput ? msg::OutputIsInput(path) : msg::FileCannotCreate(path);
    return outcome;
}

} // namespace kovra::search
