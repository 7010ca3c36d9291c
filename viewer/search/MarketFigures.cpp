#include "MarketFigures.h"

#include "ListingDocument.h"
#include "MessageTexts.h"
#include "SearchIndex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>

namespace kovra::search {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// Positions (into the set in file order) grouped by the display text of
// `field`, the groups in the search's sort order of that text.
struct TextGroup {
    std::string_view text;
    std::vector<std::size_t> positions;
};

// A listing's display text, from the index's table when it is a fixed
// text (most group fields hold only those), which is much quicker than a
// walk through the record.
std::string_view TextOf(const TListingDocument& document, const SearchIndex& index, int listing, int field)
{
    if (const std::optional<std::string_view> fixed = index.fixedText(listing, field))
        return *fixed;
    return document.ListingTable[static_cast<std::size_t>(listing)].field(field);
}

std::vector<TextGroup> GroupByText(const TListingDocument& document, const SearchIndex& index,
                                   std::span<const int> listings, std::span<const std::size_t> positions, int field)
{
    std::vector<TextGroup> groups;
    std::unordered_map<std::string_view, std::size_t> groupOfText;
    for (const std::size_t k : positions) {
        const std::string_view text = TextOf(document, index, listings[k], field);
        const auto [it, added] = groupOfText.emplace(text, groups.size());
        if (added)
            groups.push_back({text, {}});
        groups[it->second].positions.push_back(k);
    }
    // Each group's first listing stands for its text: sorted as the search
    // sorts, equal texts (after folding) keep the order they came in.
    std::vector<int> firsts;
    std::unordered_map<int, std::size_t> groupOfFirst;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const int first = listings[groups[g].positions.front()];
        firsts.push_back(first);
        groupOfFirst.emplace(first, g);
    }
    const SortKey key{field, false};
    index.sort(firsts, std::span(&key, 1));
    std::vector<TextGroup> ordered;
    ordered.reserve(groups.size());
    for (const int first : firsts)
        ordered.push_back(std::move(groups[groupOfFirst.at(first)]));
    return ordered;
}

// The figures of `values` (in file order), which are reordered.
Figures FiguresInPlace(std::vector<double>& s)
{
    Figures f;
    f.n = static_cast<int>(s.size());
    if (s.empty())
        return f;
    double sum = 0;
    for (const double v : s) // still in file order
        sum += v;
    f.mean = sum / static_cast<double>(s.size());
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    f.min = *lo;
    f.max = *hi;
    // Only s[i] and s[i+1] of each quartile are needed, not the whole
    // sorted order: each selection works on what lies above the last one.
    const std::size_t last = s.size() - 1;
    std::size_t from = 0;
    const std::pair<double, double*> quartiles[] = {{0.25, &f.p25}, {0.5, &f.median}, {0.75, &f.p75}};
    for (const auto& [p, q] : quartiles) {
        const double h = static_cast<double>(last) * p;
        const auto i = static_cast<std::size_t>(std::floor(h));
        std::nth_element(s.begin() + static_cast<std::ptrdiff_t>(from), s.begin() + static_cast<std::ptrdiff_t>(i), s.end());
        from = i;
        *q = s[i];
        if (i < last && h > static_cast<double>(i)) {
            const double next = *std::min_element(s.begin() + static_cast<std::ptrdiff_t>(i) + 1, s.end());
            *q = s[i] + (h - static_cast<double>(i)) * (next - s[i]);
        }
    }
    return f;
}

} // namespace

Figures ComputeFigures(std::span<const double> values)
{
    std::vector<double> s(values.begin(), values.end());
    return FiguresInPlace(s);
}

std::string FigureText(double value)
{
    char buffer[400]; // "%.2f" of the largest double takes 312 characters
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text(buffer);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

TradeKind TradeKindOf(std::string_view dataSyubetu)
{
    if (dataSyubetu == "売物件" || dataSyubetu == "成約売物件")
        return TradeKind::Sale;
    if (dataSyubetu == "賃貸物件" || dataSyubetu == "成約賃貸")
        return TradeKind::Rent;
    return TradeKind::Other;
}

MarketFigures ComputeMarketFigures(const TListingDocument& document, const SearchIndex& index,
                                   std::span<const int> found, const MarketRequest& request)
{
    MarketFigures out;
    for (const int m : request.measures)
        if (m >= 0 && m < kFieldCount)
            out.measures.push_back(m);
    const int count = std::min(document.ListingCount, index.count());
    out.listings.reserve(found.size());
    for (const int i : found)
        if (i >= 0 && i < count)
            out.listings.push_back(i);
    std::sort(out.listings.begin(), out.listings.end());
    out.listings.erase(std::unique(out.listings.begin(), out.listings.end()), out.listings.end());

    out.values.resize(out.measures.size());
    for (std::size_t m = 0; m < out.measures.size(); ++m) {
        out.values[m].reserve(out.listings.size());
        for (const int i : out.listings)
            out.values[m].push_back(index.numericValue(i, out.measures[m]).value_or(kNoValue));
    }
    if (out.listings.empty())
        return out;

    std::vector<double> scratch;
    auto addGroup = [&](std::string_view kind, std::string_view name, bool whole, std::span<const std::size_t> positions) {
        MarketGroup g{std::string(kind), std::string(name), whole, {}, {}};
        g.listings.reserve(positions.size());
        for (const std::size_t k : positions)
            g.listings.push_back(out.listings[k]);
        for (std::size_t m = 0; m < out.measures.size(); ++m) {
            scratch.clear();
            for (const std::size_t k : positions)
                if (!std::isnan(out.values[m][k]))
                    scratch.push_back(out.values[m][k]);
            g.figures.push_back(FiguresInPlace(scratch));
        }
        out.groups.push_back(std::move(g));
    };

    std::vector<std::size_t> all(out.listings.size());
    for (std::size_t k = 0; k < all.size(); ++k)
        all[k] = k;
    const int kindField = static_cast<int>(Field::DataSyubetu);
    bool sale = false, rent = false;
    if (request.separateSaleAndRent) {
        for (const int i : out.listings) {
            const TradeKind kind = TradeKindOf(TextOf(document, index, i, kindField));
            sale = sale || kind == TradeKind::Sale;
            rent = rent || kind == TradeKind::Rent;
        }
    }
    std::vector<TextGroup> kinds;
    if (sale && rent)
        kinds = GroupByText(document, index, out.listings, all, kindField);
    else
        kinds.push_back({std::string_view(), std::move(all)});
    for (const TextGroup& kind : kinds) {
        if (request.groupField >= 0 && request.groupField < kFieldCount)
            for (const TextGroup& g : GroupByText(document, index, out.listings, kind.positions, request.groupField))
                addGroup(kind.text, g.text, false, g.positions);
        addGroup(kind.text, msg::kWholeGroup, true, kind.positions);
    }
    return out;
}

namespace {

// A text in a TAB-separated line: a TAB or line break inside it would split
// the line, so it stands as a space.
void AppendCell(std::string& out, std::string_view text)
{
    for (const char c : text)
        out.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
}

} // namespace

std::string MarketFiguresTable(const MarketFigures& figures)
{
    const bool kinds = std::any_of(figures.groups.begin(), figures.groups.end(),
                                   [](const MarketGroup& g) { return !g.kind.empty(); });
    std::string out = kinds ? "kind\t" : "";
    out += "group\tmeasure\tcount\tn\tmin\tp25\tmedian\tp75\tmax\tmean\n";
    for (const MarketGroup& group : figures.groups) {
        for (std::size_t m = 0; m < figures.measures.size(); ++m) {
            const Figures& f = group.figures[m];
            if (kinds) {
                AppendCell(out, group.kind);
                out += '\t';
            }
            AppendCell(out, group.name);
            out += '\t';
            out += kFieldNames[static_cast<std::size_t>(figures.measures[m])];
            out += '\t' + std::to_string(group.listings.size()) + '\t' + std::to_string(f.n);
            for (const double v : {f.min, f.p25, f.median, f.p75, f.max, f.mean}) {
                out += '\t';
                if (f.n > 0)
                    out += FigureText(v);
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace kovra::search
