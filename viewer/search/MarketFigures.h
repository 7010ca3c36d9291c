// The market figures of a set of listings: per group and measure how many
// listings there are, how many have a number for the measure, and the
// minimum, quartiles, maximum and mean of those numbers.  `kovra stats`
// prints them; the browser's market panel computes them on its search
// worker for the listings found and draws its histogram and scatter plot
// from the values per listing that come with them.
#pragma once

#include "FieldNames.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {
struct TListingDocument;
}

namespace kovra::search {

class SearchIndex;

// The figures of one measure over n numbers; with n = 0 the others mean
// nothing.
struct Figures {
    int n = 0;
    double min = 0, p25 = 0, median = 0, p75 = 0, max = 0, mean = 0;
};

// `values` in file order.  The mean is their sum, added from left to
// right, divided by n; the quartiles interpolate between the sorted values
// as a spreadsheet's QUARTILE.INC does.
Figures ComputeFigures(std::span<const double> values);

// A figure as printed: rounded to two decimals, trailing zeros and a
// trailing "." dropped ("2480", "104.28", "1823.5"); never "-0".
std::string FigureText(double value);

// Sale prices and monthly rents never meet in one figure.
enum class TradeKind { Sale, Rent, Other };
TradeKind TradeKindOf(std::string_view dataSyubetu);

inline std::vector<int> DefaultMeasures()
{
    return {static_cast<int>(Field::Kakaku), static_cast<int>(Field::TotiMenseki),
            static_cast<int>(Field::TatemonoMenseki), static_cast<int>(Field::TuboTanka)};
}

struct MarketRequest {
    std::vector<int> measures = DefaultMeasures();
    int groupField = -1; // -1: one group, 全体
    // When the set holds sale and rent listings both, group by DataSyubetu
    // first: each data kind gets its own groups and its own 全体, and no
    // 全体 covers them all.  The market panel sets it; `kovra stats` keeps
    // to its contract and does not.
    bool separateSaleAndRent = false;
};

struct MarketGroup {
    std::string kind;  // the DataSyubetu text of the group's listings when kinds are kept apart, else empty
    std::string name;  // the group field's display text, or 全体
    bool whole = false; // the 全体 group (of its kind)
    std::vector<int> listings;    // its listings, in file order
    std::vector<Figures> figures; // one per measure
};

struct MarketFigures {
    std::vector<int> measures; // the request's, but for any that is not a field
    // Groups in the search's sort order of their texts (kinds first, in
    // the order of their texts), each kind's 全体 after its groups.  None
    // when the set is empty.
    std::vector<MarketGroup> groups;
    // The set in file order, and per measure the value of each of them
    // (NaN: none), for a histogram and a scatter plot.
    std::vector<int> listings;
    std::vector<std::vector<double>> values;
};

// The figures of the listings `found` (0-based indices of `document`, in
// any order; others are passed over).  `index` is the document's search
// index, whose number rule decides what a value is.
MarketFigures ComputeMarketFigures(const TListingDocument& document, const SearchIndex& index,
                                   std::span<const int> found, const MarketRequest& request);

// The figures as TAB-separated lines, as `kovra stats` prints them: the
// header `group measure count n min p25 median p75 max mean`, then one line
// per group and measure (a TAB or line break in a group's text as a space).
// When the kinds of trade are kept apart, a first column `kind` holds each
// group's DataSyubetu text.
std::string MarketFiguresTable(const MarketFigures& figures);

} // namespace kovra::search
