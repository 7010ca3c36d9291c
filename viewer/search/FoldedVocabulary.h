// Most fields of a listing hold one of the decoder's fixed texts
// (kVocabulary).  Those are folded once for the whole program, and the
// search asks once per term which of them contain it, instead of looking
// into every listing's copy.
#pragma once

#include "Vocabulary.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

// One bit per entry of kVocabulary.
struct WordSet {
    std::array<std::uint64_t, 4> bits{};
    void add(Word w) { bits[w >> 6] |= std::uint64_t(1) << (w & 63); }
    bool intersects(const WordSet& o) const
    {
        return ((bits[0] & o.bits[0]) | (bits[1] & o.bits[1]) | (bits[2] & o.bits[2]) | (bits[3] & o.bits[3])) != 0;
    }
};
static_assert(kVocabulary.size() <= 256, "a WordSet holds every word");

// The folded form of each entry of kVocabulary.
const std::vector<std::string>& FoldedVocabulary();

// The words whose folded form contains `foldedTerm`.
WordSet WordsContaining(std::string_view foldedTerm);

} // namespace kovra::search
