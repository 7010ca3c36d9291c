// Any bytes as what a user types into the search: the query must parse,
// run and sort without crashing, and the folding must keep its promises.
// The same bytes as listing texts: the market figures and the comparison
// sheet of what was found stay in order.
#include "CompareSheet.h"
#include "FieldNameResolver.h"
#include "ListingDocument.h"
#include "MarketFigures.h"
#include "NumberCells.h"
#include "SearchIndex.h"
#include "SearchQuery.h"
#include "TextFolding.h"
#include "TextOrder.h"
#include "UnicodeServices.h"
#include "Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace kovra;
using namespace kovra::search;

bool IsValidUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char* at = p;
        if (utf8::Next(p, end) == utf8::kReplacement && !(p - at == 3 && at[0] == 0xEF && at[1] == 0xBF && at[2] == 0xBD))
            return false;
    }
    return true;
}

// The folding cuts texts into pieces for speed; it must equal the three
// steps on the whole text.
std::string FoldWhole(std::string_view text)
{
    const std::string folded = unicode::CaseFold(unicode::Nfkc(text));
    std::string out;
    const auto* p = reinterpret_cast<const unsigned char*>(folded.data());
    const auto* end = p + folded.size();
    while (p < end) {
        const char32_t c = utf8::Next(p, end);
        utf8::Append(c >= 0x3041 && c <= 0x3096 ? c + 0x60 : c, out);
    }
    return out;
}

TKovraDataClass Listing(std::string_view a, std::string_view b)
{
    RecordBuilder builder;
    for (int f = 0; f < kFieldCount; ++f)
        builder.add(f == static_cast<int>(Field::Kakaku) ? a : (f == static_cast<int>(Field::Bikou) ? b : std::string_view()));
    return builder.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string folded = FoldText(text);
    if (folded.find('\xFF') != std::string::npos || !IsValidUtf8(folded))
        std::abort(); // the index ends texts with 0xFF: folded text must never hold it
    if (IsValidUtf8(text) && folded != FoldWhole(text))
        std::abort();

    const std::string_view a = text.substr(0, size / 2), b = text.substr(size / 2);
    const int ab = NaturalCompare(FoldText(a), FoldText(b)), ba = NaturalCompare(FoldText(b), FoldText(a));
    if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0))
        std::abort();
    (void)ParseNumber(text);
    (void)NumericValue(folded);
    // A spreadsheet number cell holds plain digits that read as its value.
    if (const std::optional<NumberCell> cell = NumberCellOf(text)) {
        if (cell->digits.find_first_not_of("-0123456789.") != std::string::npos ||
            NumericValue(cell->digits) != cell->value)
            std::abort();
    }

    QueryDescription d;
    d.text = std::string(text);
    d.where.push_back({static_cast<int>(Field::Bikou), std::string(b)});
    FieldBound bound;
    if (ParseFieldBound(a, false, bound) == ArgumentProblem::None)
        d.bounds.push_back(bound);
    d.sort = {{static_cast<int>(Field::Kakaku), size % 2 == 0}, {static_cast<int>(Field::Bikou), false}};
    const Query query(d);
    (void)UnknownFieldNames(text);
    TListingDocument document;
    for (const auto& [x, y] : {std::pair(a, b), std::pair(b, a), std::pair(text, text), std::pair(std::string_view(), std::string_view())})
        document.ListingTable.push_back(Listing(x, y));
    document.ListingCount = 4;
    const SearchIndex index(document);
    const std::vector<int> all = index.run(Query(QueryDescription{.sort = d.sort}));
    if (all.size() != 4)
        std::abort();
    const std::vector<int> found = index.run(query);
    if (index.refine(query, Query(), all) != found)
        std::abort();

    MarketRequest request;
    request.measures = {static_cast<int>(Field::Kakaku), static_cast<int>(Field::Bikou)};
    request.groupField = static_cast<int>(Field::Bikou);
    request.separateSaleAndRent = true;
    for (const MarketGroup& g : ComputeMarketFigures(document, index, all, request).groups) {
        for (const Figures& f : g.figures) {
            const bool finite = std::isfinite(f.max - f.min); // else the interpolation may overflow, as the formula does
            if (f.n > static_cast<int>(g.listings.size()) ||
                (f.n > 0 && finite && !(f.min <= f.p25 && f.p25 <= f.median && f.median <= f.p75 && f.p75 <= f.max)))
                std::abort();
            (void)FigureText(f.mean);
        }
    }
    (void)FindListingNumber(index, text);
    const CompareSheet sheet = MakeCompareSheet(document, index, all, all, std::vector<int>{static_cast<int>(Field::Kakaku), static_cast<int>(Field::Bikou)});
    if (sheet.rows.size() != 2 || sheet.rows[0].market.size() != 4)
        std::abort();
    return 0;
}
