#include "FoldedVocabulary.h"

#include "TextFolding.h"

namespace kovra::search {

const std::vector<std::string>& FoldedVocabulary()
{
    static const std::vector<std::string> folded = [] {
        std::vector<std::string> v;
        v.reserve(kVocabulary.size());
        for (std::string_view word : kVocabulary)
            v.push_back(FoldText(word));
        return v;
    }();
    return folded;
}

WordSet WordsContaining(std::string_view foldedTerm)
{
    WordSet set;
    const std::vector<std::string>& words = FoldedVocabulary();
    for (std::size_t w = 0; w < words.size(); ++w)
        if (words[w].find(foldedTerm) != std::string::npos)
            set.add(static_cast<Word>(w));
    return set;
}

} // namespace kovra::search
