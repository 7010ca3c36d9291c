#include "SearchIndex.h"

#include "ListingDocument.h"
#include "TextFolding.h"
#include "TextOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace kovra::search {

namespace {

// Ends each folded text in the index.  Folded text is valid UTF-8, which
// never holds this byte, so a term can never match across two fields.
constexpr char kEndOfText = '\xFF';

constexpr std::size_t kFields = static_cast<std::size_t>(kFieldCount);

} // namespace

SearchIndex::SearchIndex(std::span<const TKovraDataClass> listings, const FieldSet& blank)
{
    build(listings, blank);
}

SearchIndex::SearchIndex(const TListingDocument& data, const FieldSet& blank)
{
    build(std::span<const TKovraDataClass>(data.ListingTable.data(), static_cast<std::size_t>(data.ListingCount)), blank);
}

SearchIndex::~SearchIndex() = default;

void SearchIndex::build(std::span<const TKovraDataClass> listings, const FieldSet& blank)
{
    // A blank field is the vocabulary's empty text, as in a listing never decoded.
    static_assert(kVocabulary[0].empty());
    count_ = static_cast<int>(listings.size());
    blank_ = blank;
    // Folded texts are about as long as the texts: room for them at once
    // saves copying a growing buffer again and again.
    std::size_t own = 0;
    for (const TKovraDataClass& listing : listings)
        listing.forEachField([&](int f, std::string_view text, Word w) {
            own += w == kInlineTag && !blank[static_cast<std::size_t>(f)] ? text.size() + 1 : 0;
        });
    texts_.reserve(own + own / 16);
    start_.reserve(listings.size() + 1);
    words_.resize(listings.size() * kFields);
    wordSets_.resize(listings.size());
    Word* word = words_.data();
    for (std::size_t i = 0; i < listings.size(); ++i) {
        start_.push_back(texts_.size());
        WordSet& set = wordSets_[i];
        listings[i].forEachField([&](int f, std::string_view text, Word w) {
            if (blank[static_cast<std::size_t>(f)])
                w = 0;
            *word++ = w;
            if (w == kInlineTag) {
                AppendFolded(text, texts_);
                texts_.push_back(kEndOfText);
            } else {
                set.add(w);
            }
        });
        if (word != words_.data() + (i + 1) * kFields) { // a record never decoded: all fields empty
            word = words_.data() + (i + 1) * kFields;
            std::fill(word - kFields, word, Word(0));
            set.add(0);
        }
    }
    start_.push_back(texts_.size());
}

std::string_view SearchIndex::inlineText(int listing, int field) const
{
    const Word* row = words_.data() + static_cast<std::size_t>(listing) * kFields;
    const auto before = std::count(row, row + field, kInlineTag);
    const char* p = texts_.data() + start_[static_cast<std::size_t>(listing)];
    const char* const limit = texts_.data() + texts_.size();
    for (auto k = before; k > 0; --k)
        p = static_cast<const char*>(std::memchr(p, kEndOfText, static_cast<std::size_t>(limit - p))) + 1;
    const char* end = static_cast<const char*>(std::memchr(p, kEndOfText, static_cast<std::size_t>(limit - p)));
    return {p, static_cast<std::size_t>(end - p)};
}

std::string_view SearchIndex::foldedText(int listing, int field) const
{
    const Word w = words_[static_cast<std::size_t>(listing) * kFields + static_cast<std::size_t>(field)];
    return w == kInlineTag ? inlineText(listing, field) : std::string_view(FoldedVocabulary()[w]);
}

std::optional<double> SearchIndex::numericValue(int listing, int field) const
{
    const double v = column(field).value[static_cast<std::size_t>(listing)];
    if (std::isnan(v))
        return std::nullopt;
    return v;
}

std::optional<std::string_view> SearchIndex::fixedText(int listing, int field) const
{
    const Word w = words_[static_cast<std::size_t>(listing) * kFields + static_cast<std::size_t>(field)];
    if (w == kInlineTag)
        return std::nullopt;
    return kVocabulary[w];
}

const SearchIndex::Column& SearchIndex::column(int field) const
{
    const auto f = static_cast<std::size_t>(field);
    std::call_once(columnOnce_[f], [&] {
        auto c = std::make_unique<Column>();
        c->text.resize(static_cast<std::size_t>(count_));
        c->value.resize(static_cast<std::size_t>(count_));
        // Numbers of the fixed texts once, not per listing.
        const std::vector<std::string>& vocabulary = FoldedVocabulary();
        std::vector<double> wordValue(vocabulary.size());
        for (std::size_t w = 0; w < vocabulary.size(); ++w)
            wordValue[w] = NumericValue(vocabulary[w]).value_or(std::numeric_limits<double>::quiet_NaN());
        for (int i = 0; i < count_; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const Word w = words_[at * kFields + f];
            if (w == kInlineTag) {
                c->text[at] = inlineText(i, field);
                c->value[at] = NumericValue(c->text[at]).value_or(std::numeric_limits<double>::quiet_NaN());
            } else {
                c->text[at] = vocabulary[w];
                c->value[at] = wordValue[w];
            }
        }
        columns_[f] = std::move(c);
    });
    return *columns_[f];
}

void SearchIndex::prepare(const Query& query) const
{
    for (const Query::FieldTerm& t : query.fieldTerms())
        column(t.field);
    for (const Query::Range& r : query.ranges())
        column(r.field);
}

bool SearchIndex::passesPrepared(const Query& query, int listing) const
{
    const auto at = static_cast<std::size_t>(listing);
    for (const Query::Range& r : query.ranges()) {
        const double v = columns_[static_cast<std::size_t>(r.field)]->value[at];
        if (!(v >= r.min && v <= r.max)) // NaN (no value) never passes
            return false;
    }
    for (const Query::FieldTerm& t : query.fieldTerms())
        if (!t.passes(columns_[static_cast<std::size_t>(t.field)]->text[at]))
            return false;
    if (query.terms().empty())
        return true;
    const std::string_view own(texts_.data() + start_[at], start_[at + 1] - start_[at]);
    for (const Query::Term& t : query.terms())
        if (!wordSets_[at].intersects(t.words) && !t.finder.foundIn(own))
            return false;
    return true;
}

bool SearchIndex::passes(const Query& query, int listing) const
{
    prepare(query);
    return passesPrepared(query, listing);
}

void SearchIndex::filterRange(const Query& query, int first, int last, std::vector<int>& out) const
{
    first = std::max(first, 0);
    last = std::min(last, count_);
    if (query.passesAll()) {
        for (int i = first; i < last; ++i)
            out.push_back(i);
        return;
    }
    prepare(query);
    for (int i = first; i < last; ++i)
        if (passesPrepared(query, i))
            out.push_back(i);
}

std::vector<int> SearchIndex::filter(const Query& query, std::span<const int> candidates) const
{
    prepare(query);
    std::vector<int> out;
    for (const int i : candidates)
        if (i >= 0 && i < count_ && passesPrepared(query, i))
            out.push_back(i);
    return out;
}

const std::vector<std::uint64_t, LargeAllocator<std::uint64_t>>& SearchIndex::orderKeys(int field) const
{
    const auto f = static_cast<std::size_t>(field);
    std::call_once(orderOnce_[f], [&] {
        const Column& c = column(field);
        constexpr std::uint64_t kNoValue = std::uint64_t(1) << 63;
        auto& keys = orderKeys_[f];
        keys.assign(static_cast<std::size_t>(count_), 0);
        // Listings with a value: ranked by value, equal values alike.
        std::vector<std::pair<double, int>> valued;
        std::unordered_map<std::string_view, std::uint32_t> textRank; // distinct texts of the others
        for (int i = 0; i < count_; ++i) {
            const double v = c.value[static_cast<std::size_t>(i)];
            if (std::isnan(v))
                textRank.emplace(c.text[static_cast<std::size_t>(i)], 0);
            else
                valued.emplace_back(v, i);
        }
        std::sort(valued.begin(), valued.end());
        std::uint64_t rank = 0;
        for (std::size_t n = 0; n < valued.size(); ++n) {
            if (n > 0 && valued[n].first != valued[n - 1].first)
                ++rank;
            keys[static_cast<std::size_t>(valued[n].second)] = rank;
        }
        // The others: ranked by the natural order of their texts, each
        // distinct text compared once.
        std::vector<std::string_view> texts;
        texts.reserve(textRank.size());
        for (const auto& [text, unused] : textRank)
            texts.push_back(text);
        std::sort(texts.begin(), texts.end(), [](std::string_view a, std::string_view b) { return NaturalCompare(a, b) < 0; });
        rank = 0;
        for (std::size_t n = 0; n < texts.size(); ++n) {
            if (n > 0 && NaturalCompare(texts[n - 1], texts[n]) != 0)
                ++rank;
            textRank[texts[n]] = static_cast<std::uint32_t>(rank);
        }
        for (int i = 0; i < count_; ++i)
            if (std::isnan(c.value[static_cast<std::size_t>(i)]))
                keys[static_cast<std::size_t>(i)] = kNoValue | textRank[c.text[static_cast<std::size_t>(i)]];
    });
    return orderKeys_[f];
}

void SearchIndex::sort(std::vector<int>& listings, std::span<const SortKey> keys) const
{
    if (keys.empty()) {
        std::sort(listings.begin(), listings.end());
        return;
    }
    // One number per listing and key whose ascending order is the wanted
    // one: descending reverses the order within each group, and listings
    // without a value stay after those with one.
    constexpr std::uint64_t kNoValue = std::uint64_t(1) << 63;
    std::vector<std::vector<std::uint64_t>> wanted(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const auto& order = orderKeys(keys[k].field);
        wanted[k].reserve(listings.size());
        for (const int i : listings) {
            const std::uint64_t key = order[static_cast<std::size_t>(i)];
            wanted[k].push_back(keys[k].descending ? (key & kNoValue) | (~key & (kNoValue - 1)) : key);
        }
    }
    // Sorting positions in `listings` keeps the keys next to each other.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> byFirst(listings.size());
    for (std::size_t n = 0; n < listings.size(); ++n)
        byFirst[n] = {wanted[0][n], static_cast<std::uint32_t>(n)};
    if (keys.size() == 1) {
        std::sort(byFirst.begin(), byFirst.end(), [&](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : listings[a.second] < listings[b.second];
        });
    } else {
        std::sort(byFirst.begin(), byFirst.end(), [&](const auto& a, const auto& b) {
            if (a.first != b.first)
                return a.first < b.first;
            for (std::size_t k = 1; k < wanted.size(); ++k)
                if (wanted[k][a.second] != wanted[k][b.second])
                    return wanted[k][a.second] < wanted[k][b.second];
            return listings[a.second] < listings[b.second];
        });
    }
    std::vector<int> sorted(listings.size());
    for (std::size_t n = 0; n < byFirst.size(); ++n)
        sorted[n] = listings[byFirst[n].second];
    listings = std::move(sorted);
}

std::vector<int> SearchIndex::run(const Query& query) const
{
    std::vector<int> result;
    result.reserve(query.passesAll() ? static_cast<std::size_t>(count_) : 0);
    filterRange(query, 0, count_, result);
    if (!query.sortKeys().empty()) // else already in file order
        sort(result, query.sortKeys());
    return result;
}

std::vector<int> SearchIndex::refine(const Query& query, const Query& earlier, std::span<const int> earlierResult) const
{
    if (!query.narrows(earlier))
        return run(query);
    std::vector<int> result = filter(query, earlierResult);
    if (query.sortKeys() != earlier.sortKeys()) // else still in order
        sort(result, query.sortKeys());
    return result;
}

std::size_t SearchIndex::memoryBytes() const
{
    std::size_t bytes = texts_.capacity() + start_.capacity() * sizeof(std::size_t) + words_.capacity() +
                        wordSets_.capacity() * sizeof(WordSet);
    for (const auto& c : columns_)
        if (c)
            bytes += c->text.capacity() * sizeof(std::string_view) + c->value.capacity() * sizeof(double);
    return bytes;
}

} // namespace kovra::search
