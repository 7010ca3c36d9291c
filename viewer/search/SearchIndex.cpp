#include "SearchIndex.h"

#include "ListingTable.h"
#include "TextFolding.h"
#include "TextOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace kovra::search {

namespace {

// Ends each folded text in the index.  Folded text is valid UTF-8, which
// never holds this byte, so a term can never match across two fields.
constexpr char kEndOfText = '\xFF';

constexpr std::size_t kFields = static_cast<std::size_t>(kFieldCount);

} // namespace

SearchIndex::SearchIndex(std::span<const TKovraDataClass> listings)
{
    build(listings);
}

SearchIndex::SearchIndex(const ListingData& data)
{
    build(std::span<const TKovraDataClass>(data.ListingTable.data(), static_cast<std::size_t>(data.ListingCount)));
}

SearchIndex::~SearchIndex() = default;

void SearchIndex::build(std::span<const TKovraDataClass> listings)
{
    count_ = static_cast<int>(listings.size());
    start_.reserve(listings.size() + 1);
    words_.resize(listings.size() * kFields);
    wordSets_.resize(listings.size());
    Word* word = words_.data();
    for (std::size_t i = 0; i < listings.size(); ++i) {
        start_.push_back(texts_.size());
        WordSet& set = wordSets_[i];
        listings[i].forEachField([&](int, std::string_view text, Word w) {
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
    texts_.shrink_to_fit();
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
        if (!t.finder.foundIn(columns_[static_cast<std::size_t>(t.field)]->text[at]))
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

void SearchIndex::sort(std::vector<int>& listings, std::span<const SortKey> keys) const
{
    if (keys.empty()) {
        std::sort(listings.begin(), listings.end());
        return;
    }
    std::vector<const Column*> cols;
    for (const SortKey& k : keys)
        cols.push_back(&column(k.field));
    auto before = [&](int a, int b) {
        const auto ia = static_cast<std::size_t>(a), ib = static_cast<std::size_t>(b);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const Column& c = *cols[k];
            const double va = c.value[ia], vb = c.value[ib];
            const bool hasA = !std::isnan(va), hasB = !std::isnan(vb);
            if (hasA != hasB) // listings with a value come first, also when descending
                return hasA;
            int order = 0;
            if (hasA)
                order = va < vb ? -1 : (va > vb ? 1 : 0);
            else
                order = NaturalCompare(c.text[ia], c.text[ib]);
            if (order != 0)
                return keys[k].descending ? order > 0 : order < 0;
        }
        return a < b;
    };
    std::sort(listings.begin(), listings.end(), before);
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
