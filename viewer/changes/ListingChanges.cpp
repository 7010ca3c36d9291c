#include "ListingChanges.h"

#include "TextFolding.h"
#include "TextOrder.h"

#include <unordered_map>

namespace kovra::changes {

namespace {

constexpr int kStatus = static_cast<int>(Field::DataSyubetu);
constexpr int kPrice = static_cast<int>(Field::Kakaku);
constexpr std::string_view kContracted = "成約";

std::size_t at(int index) { return static_cast<std::size_t>(index); }

// The listings of one file by number: the index of each number's last
// occurrence.
class NumberIndex {
public:
    NumberIndex(const TListingDocument& doc, std::vector<std::string_view>& duplicates,
                std::unordered_map<std::string_view, bool>& named)
        : doc_(doc)
    {
        last_.reserve(at(doc.ListingCount));
        for (int i = 0; i < doc.ListingCount; ++i) {
            const std::string_view number = doc.ListingTable[at(i)].BukkennNum();
            auto [it, inserted] = last_.try_emplace(number, i);
            if (inserted)
                continue;
            it->second = i;
            if (named.try_emplace(number, true).second)
                duplicates.push_back(number);
        }
    }
    // The index that counts for `number`, or -1.
    int find(std::string_view number) const
    {
        const auto it = last_.find(number);
        return it == last_.end() ? -1 : it->second;
    }
    // Whether listing i is the occurrence that counts for its number.
    bool counts(int i) const { return find(doc_.ListingTable[at(i)].BukkennNum()) == i; }

private:
    const TListingDocument& doc_;
    std::unordered_map<std::string_view, int> last_;
};

void Classify(Finding& f, std::string_view oldStatus, std::string_view newStatus, std::string_view oldPrice,
              std::string_view newPrice)
{
    using F = QuickFilter;
    f.filters[static_cast<int>(F::New)] = f.kinds & New;
    f.filters[static_cast<int>(F::Gone)] = f.kinds & Gone;
    f.filters[static_cast<int>(F::Changed)] = f.kinds & (StatusChanged | PriceChanged | FieldsChanged);
    if (f.kinds & PriceChanged) {
        const std::optional<double> d = PriceDifference(oldPrice, newPrice);
        f.filters[static_cast<int>(F::PriceDown)] = d && *d < 0;
        f.filters[static_cast<int>(F::PriceUp)] = d && *d > 0;
    }
    f.filters[static_cast<int>(F::Contracted)] = (f.kinds & StatusChanged) && BecameContracted(oldStatus, newStatus);
}

} // namespace

void FillTexts(const TKovraDataClass& listing, FieldTexts& texts)
{
    texts.fill({});
    listing.forEachField([&](int f, std::string_view text, Word) { texts[at(f)] = text; });
}

TextDifference CompareTexts(const FieldTexts& before, const FieldTexts& after)
{
    TextDifference d;
    for (int f = 0; f < kFieldCount; ++f) {
        if (before[at(f)] == after[at(f)])
            continue;
        d.fields.push_back(f);
        d.kinds |= f == kStatus ? StatusChanged : f == kPrice ? PriceChanged : FieldsChanged;
    }
    return d;
}

std::optional<double> PriceValue(std::string_view text) { return search::NumericValue(search::FoldText(text)); }

std::optional<double> PriceDifference(std::string_view before, std::string_view after)
{
    const std::optional<double> a = PriceValue(before), b = PriceValue(after);
    if (!a || !b)
        return std::nullopt;
    return *b - *a;
}

bool BecameContracted(std::string_view before, std::string_view after)
{
    return after.starts_with(kContracted) && !before.starts_with(kContracted);
}

const Finding* Comparison::ofNew(int newIndex) const
{
    if (newIndex < 0 || at(newIndex) >= findingOfNew.size() || findingOfNew[at(newIndex)] < 0)
        return nullptr;
    return &findings[at(findingOfNew[at(newIndex)])];
}

std::span<const Finding> Comparison::gone() const
{
    std::size_t first = 0;
    while (first < findings.size() && (findings[first].kinds & New))
        ++first;
    std::size_t end = first;
    while (end < findings.size() && (findings[end].kinds & Gone))
        ++end;
    return std::span<const Finding>(findings).subspan(first, end - first);
}

Comparison Compare(const TListingDocument& before, const TListingDocument& after)
{
    Comparison c;
    std::unordered_map<std::string_view, bool> named;
    const NumberIndex olds(before, c.duplicates, named), news(after, c.duplicates, named);
    c.findingOfNew.assign(at(after.ListingCount), -1);

    auto add = [&](Finding f, std::string_view oldStatus, std::string_view newStatus, std::string_view oldPrice,
                   std::string_view newPrice) {
        Classify(f, oldStatus, newStatus, oldPrice, newPrice);
        for (int q = 0; q < kQuickFilterCount; ++q)
            c.counts[at(q)] += f.filters[at(q)] ? 1 : 0;
        if (f.newIndex >= 0)
            c.findingOfNew[at(f.newIndex)] = static_cast<int>(c.findings.size());
        c.findings.push_back(std::move(f));
    };

    for (int i = 0; i < after.ListingCount; ++i)
        if (news.counts(i) && olds.find(after.ListingTable[at(i)].BukkennNum()) < 0)
            add(Finding{.kinds = New, .newIndex = i}, {}, {}, {}, {});
    for (int i = 0; i < before.ListingCount; ++i)
        if (olds.counts(i) && news.find(before.ListingTable[at(i)].BukkennNum()) < 0)
            add(Finding{.kinds = Gone, .oldIndex = i}, {}, {}, {}, {});

    FieldTexts oldTexts, newTexts;
    for (int i = 0; i < after.ListingCount; ++i) {
        if (!news.counts(i))
            continue;
        const int o = olds.find(after.ListingTable[at(i)].BukkennNum());
        if (o < 0)
            continue;
        FillTexts(before.ListingTable[at(o)], oldTexts);
        FillTexts(after.ListingTable[at(i)], newTexts);
        TextDifference d = CompareTexts(oldTexts, newTexts);
        if (d.kinds == 0)
            continue;
        add(Finding{.kinds = d.kinds, .oldIndex = o, .newIndex = i, .fields = std::move(d.fields)}, oldTexts[at(kStatus)],
            newTexts[at(kStatus)], oldTexts[at(kPrice)], newTexts[at(kPrice)]);
    }
    return c;
}

} // namespace kovra::changes
