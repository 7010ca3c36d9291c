// The comparison sheet (比較表): 2 to 8 listings side by side, one column
// each, one row per chosen field.  Under every row of a quantity (a price,
// an area, minutes, a ratio) stands the market: the median of the found
// set's listings of the column's own kind of trade, so a sale is read
// against sales and a rent against rents, never against both.
#pragma once

#include "ListingExport.h"

#include "FieldNames.h"
#include "MarketFigures.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovra {
struct TListingDocument;
}

namespace kovra::search {

class SearchIndex;

inline constexpr int kCompareMinListings = 2;
inline constexpr int kCompareMaxListings = 8;

// 物件番号, データー種別, 物件種目, 価格, 坪単価, 所在地名, 交通, 徒歩, 土地面積,
// 建物面積, 間取り, 築年月, 用途地域, 建ぺい率, 容積率, 現況, 引渡時期.
std::vector<int> DefaultCompareRows();

// Fields whose text is a number and its unit, whose median means something.
bool IsQuantityField(int field);

struct CompareRow {
    int field = 0;
    std::string label;              // the field's column title
    std::vector<std::string> cells; // each listing's display text
    bool quantity = false;          // the market lines below are set
    // Per listing: the median of its kind with the unit of the field's
    // texts ("2300万円"), empty when no listing of that kind has a value;
    // and how far the listing lies from it ("+7.8%"), empty when either
    // has no value or the median is 0.
    std::vector<std::string> market;
    std::vector<std::string> deviation;
};

struct CompareSheet {
    std::vector<int> listings; // the columns (0-based indices)
    std::vector<CompareRow> rows;
    int marketCount = 0;       // listings in the set the medians come from
    std::string searchDate;    // the file's KensakuNengappi
};

// "物件A" ... "物件H": the head of column `column` (0-based).
std::string CompareColumnHead(int column);

// The sheet of `chosen` (0-based indices, 2 to 8 of them, each in the
// document) with `rows` (field indices, in order; others are passed over),
// the markets taken from `found`.
CompareSheet MakeCompareSheet(const TListingDocument& document, const SearchIndex& index, std::span<const int> found,
                              std::span<const int> chosen, std::span<const int> rows);

// The listing whose BukkennNum is `number` (compared folded); when several
// have it, the last in the file, as the HTML pages keep the last.  None
// when no listing has it.
std::optional<int> FindListingNumber(const SearchIndex& index, std::string_view number);

// The sheet as CSV (UTF-8 with a byte order mark, CR LF, formulas guarded
// as the export guards them): a head row, then per row the label and the
// cells, and below a quantity's row its market row.  Written through a
// temporary file: a failure leaves `path` as it was, and a `path` that is
// one of `inputs` (the export file) is refused.
ExportOutcome WriteCompareCsv(const CompareSheet& sheet, const std::string& path, const fileio::JobInputs& inputs);

} // namespace kovra::search
