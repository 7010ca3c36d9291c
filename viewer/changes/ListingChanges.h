// What changed between two export files of the same search, listing by
// listing: the listings matched by their number (BukkennNum), the last
// occurrence of a number in a file counting.  Plain C++: `kovra changes`,
// the archive and the viewer's change view share it.
#pragma once

#include "ListingDocument.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kovra::changes {

// The kinds of a finding, as bits; a listing in both files has any of
// the last three.
enum Kind : unsigned {
    New = 1u << 0,           // in the newer file only
    Gone = 1u << 1,          // in the older file only
    StatusChanged = 1u << 2, // DataSyubetu's text differs
    PriceChanged = 1u << 3,  // Kakaku's text differs
    FieldsChanged = 1u << 4, // another field's text differs
};

using FieldTexts = std::array<std::string_view, kFieldCount>;

// How the texts of one listing differ: the kinds (StatusChanged,
// PriceChanged, FieldsChanged) and every field whose text differs, in
// field order (DataSyubetu and Kakaku among them).
struct TextDifference {
    unsigned kinds = 0;
    std::vector<int> fields;
};
TextDifference CompareTexts(const FieldTexts& before, const FieldTexts& after);
void FillTexts(const TKovraDataClass& listing, FieldTexts& texts);

// The number a price text stands for, by the search's number rule
// ("2480万円" is 2480); none for "-----万円" or an empty text.
std::optional<double> PriceValue(std::string_view text);
// after - before, when both texts have a number.
std::optional<double> PriceDifference(std::string_view before, std::string_view after);

// A listing that became sold or let: its data kind now reads "成約…"
// (売物件 → 成約売物件, 賃貸物件 → 成約賃貸) and did not before.
bool BecameContracted(std::string_view before, std::string_view after);

// The quick filters of the change view, in the order they are offered.
enum class QuickFilter { New, PriceDown, PriceUp, Contracted, Gone, Changed };
inline constexpr int kQuickFilterCount = 6;

struct Finding {
    unsigned kinds = 0;
    int oldIndex = -1;       // in the older file's table; -1 for a new listing
    int newIndex = -1;       // in the newer file's table; -1 for a gone one
    std::vector<int> fields{}; // listings in both: the fields whose text differs
    std::array<bool, kQuickFilterCount> filters{}; // the quick filters it passes
};

struct Comparison {
    // In this order: the new listings in the newer file's order, the gone
    // ones in the older file's order, then the listings in both that
    // changed, in the newer file's order.
    std::vector<Finding> findings;
    // Numbers that stand more than once in either file, each named once
    // (the older file's first, in file order); views into the files.
    std::vector<std::string_view> duplicates;
    // How many findings each quick filter passes.
    std::array<int, kQuickFilterCount> counts{};
    // Per listing of the newer file: the index of its finding, or -1 (no
    // finding, or an earlier occurrence of a number that stands again).
    std::vector<int> findingOfNew;

    const Finding* ofNew(int newIndex) const;
    std::span<const Finding> gone() const; // the older file's listings not in the newer
};

// Compares two loaded files; both must outlive the result.
Comparison Compare(const TListingDocument& before, const TListingDocument& after);

} // namespace kovra::changes
