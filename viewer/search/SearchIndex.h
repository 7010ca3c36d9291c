// The folded texts of the loaded listings, made once per load, and the
// search over them.  Memory: the folded texts of the listings' own
// (non-fixed) fields once, one byte per field, and 40 bytes per listing;
// a field that is filtered by gets 24 bytes per listing more, and one
// sorted by 32.
#pragma once

#include "LargeMemory.h"
#include "SearchQuery.h"
#include "TextFolding.h"

#include "KovraRecord.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {
struct TListingDocument;
}

namespace kovra::search {

class SearchIndex {
public:
    // The fields of `blank` are read as empty texts in every listing: a
    // term never finds them, a condition sees an empty text, a sort or a
    // figure no number (the member fields with the member display off).
    explicit SearchIndex(std::span<const TKovraDataClass> listings, const FieldSet& blank = {});
    explicit SearchIndex(const TListingDocument& data, const FieldSet& blank = {});
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;
    ~SearchIndex();

    int count() const { return count_; }
    // The fields read as empty (the constructor's `blank`).
    const FieldSet& blankFields() const { return blank_; }

    // The listings (0-based positions in the file) that `query` finds, in
    // the query's order.
    std::vector<int> run(const Query& query) const;

    // The same, starting from `earlierResult`, the result of `earlier`,
    // when `query` only narrows it (see Query::narrows); else from all.
    std::vector<int> refine(const Query& query, const Query& earlier, std::span<const int> earlierResult) const;

    // The listings among [first, last) that pass, appended to `out` in file
    // order; for a window that searches a huge file in slices.
    void filterRange(const Query& query, int first, int last, std::vector<int>& out) const;

    // Those of `candidates` that pass, in their order.
    std::vector<int> filter(const Query& query, std::span<const int> candidates) const;

    // Puts `listings` in the order of `keys`, then file order.
    void sort(std::vector<int>& listings, std::span<const SortKey> keys) const;

    bool passes(const Query& query, int listing) const;
    std::string_view foldedText(int listing, int field) const;
    std::optional<double> numericValue(int listing, int field) const;
    // The field's display text when it is one of the fixed texts (read from
    // the index's compact table, without walking the listing's record);
    // none for a text of the listing's own.
    std::optional<std::string_view> fixedText(int listing, int field) const;

    // Bytes held, with the per-field columns made so far.
    std::size_t memoryBytes() const;

private:
    // The folded text and numeric value of one field for every listing,
    // made the first time a search sorts or filters by that field.
    struct Column {
        std::vector<std::string_view, LargeAllocator<std::string_view>> text;
        std::vector<double, LargeAllocator<double>> value; // NaN: no value
    };

    void build(std::span<const TKovraDataClass> listings, const FieldSet& blank);
    const Column& column(int field) const;
    const std::vector<std::uint64_t, LargeAllocator<std::uint64_t>>& orderKeys(int field) const;
    void prepare(const Query& query) const;
    bool passesPrepared(const Query& query, int listing) const;
    std::string_view inlineText(int listing, int field) const;

    int count_ = 0;
    FieldSet blank_;
    template <class T>
    using LargeVector = std::vector<T, LargeAllocator<T>>;

    LargeString texts_;                 // per listing: its own fields' folded texts, each ended by 0xFF
    LargeVector<std::size_t> start_;    // listing i's texts begin at start_[i]; count_ + 1 entries
    LargeVector<Word> words_;           // per listing and field: kVocabulary index, or kInlineTag
    LargeVector<WordSet> wordSets_;     // per listing: the fixed texts it holds

    mutable std::array<std::once_flag, kFieldCount> columnOnce_;
    mutable std::array<std::unique_ptr<Column>, kFieldCount> columns_;

    // Per field sorted by: each listing's place in the field's ascending
    // order as one number (top bit set: no value), so a sort compares
    // numbers only.
    mutable std::array<std::once_flag, kFieldCount> orderOnce_;
    mutable std::array<std::vector<std::uint64_t, LargeAllocator<std::uint64_t>>, kFieldCount> orderKeys_;
};

} // namespace kovra::search
