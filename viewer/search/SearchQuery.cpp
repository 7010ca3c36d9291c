#include "SearchQuery.h"

#include "FieldNameResolver.h"
#include "TextFolding.h"
#include "TextOrder.h"

#include <algorithm>

namespace kovra::search {

ArgumentProblem ParseFieldText(std::string_view argument, FieldText& out)
{
    std::string_view name, text;
    if (!SplitAtEquals(argument, name, text))
        return ArgumentProblem::NoEqualsSign;
    const int field = ResolveFieldName(name);
    if (field < 0)
        return ArgumentProblem::UnknownField;
    out = {field, std::string(text)};
    return ArgumentProblem::None;
}

ArgumentProblem ParseFieldBound(std::string_view argument, bool upper, FieldBound& out)
{
    std::string_view name, number;
    if (!SplitAtEquals(argument, name, number))
        return ArgumentProblem::NoEqualsSign;
    const int field = ResolveFieldName(name);
    if (field < 0)
        return ArgumentProblem::UnknownField;
    const std::optional<double> value = ParseNumber(number);
    if (!value)
        return ArgumentProblem::BadNumber;
    out = {field, *value, upper};
    return ArgumentProblem::None;
}

ArgumentProblem ParseSortKey(std::string_view argument, SortKey& out)
{
    const bool descending = argument.starts_with('-');
    const int field = ResolveFieldName(descending ? argument.substr(1) : argument);
    if (field < 0)
        return ArgumentProblem::UnknownField;
    out = {field, descending};
    return ArgumentProblem::None;
}

Query::Query(const QueryDescription& d)
    : sort_(d.sort)
{
    auto addFieldTerm = [this](int field, std::string_view text) {
        std::string folded = FoldText(text);
        if (!folded.empty()) // an empty text is in every field
            fieldTerms_.push_back({field, TextFinder(std::move(folded))});
    };
    for (const std::string& piece : SplitAtWhiteSpace(d.text)) {
        FieldText ft;
        if (ParseFieldText(piece, ft) == ArgumentProblem::None) {
            addFieldTerm(ft.field, ft.text);
            continue;
        }
        std::string folded = FoldText(piece);
        if (folded.empty())
            continue;
        const WordSet words = WordsContaining(folded);
        terms_.push_back({TextFinder(std::move(folded)), words});
    }
    for (const FieldText& ft : d.where)
        addFieldTerm(ft.field, ft.text);
    for (const FieldText& ft : d.equal) // the empty text too: the field must then be empty
        fieldTerms_.push_back({ft.field, TextFinder(FoldText(ft.text)), true});
    for (const FieldBound& b : d.bounds) {
        auto it = std::find_if(ranges_.begin(), ranges_.end(), [&](const Range& r) { return r.field == b.field; });
        if (it == ranges_.end())
            it = ranges_.insert(ranges_.end(), Range{b.field});
        if (b.upper)
            it->max = std::min(it->max, b.value);
        else
            it->min = std::max(it->min, b.value);
    }
    // Longer terms rule out more listings: try them first.
    std::stable_sort(terms_.begin(), terms_.end(),
                     [](const Term& a, const Term& b) { return a.finder.needle().size() > b.finder.needle().size(); });
}

bool Query::narrows(const Query& earlier) const
{
    auto contains = [](const TextFinder& longer, const TextFinder& shorter) {
        return longer.needle().find(shorter.needle()) != std::string::npos;
    };
    for (const Term& old : earlier.terms_) {
        const bool kept = std::any_of(terms_.begin(), terms_.end(), [&](const Term& t) { return contains(t.finder, old.finder); }) ||
                          std::any_of(fieldTerms_.begin(), fieldTerms_.end(), [&](const FieldTerm& t) { return contains(t.finder, old.finder); });
        if (!kept)
            return false;
    }
    // A whole-text term passes only texts that contain its needle, so it
    // keeps any earlier term its needle contains; an earlier whole-text
    // term is kept only by the same one.
    for (const FieldTerm& old : earlier.fieldTerms_) {
        if (std::none_of(fieldTerms_.begin(), fieldTerms_.end(), [&](const FieldTerm& t) {
                return t.field == old.field &&
                       (old.whole ? t.whole && t.finder.needle() == old.finder.needle() : contains(t.finder, old.finder));
            }))
            return false;
    }
    for (const Range& old : earlier.ranges_) {
        if (std::none_of(ranges_.begin(), ranges_.end(),
                         [&](const Range& r) { return r.field == old.field && r.min >= old.min && r.max <= old.max; }))
            return false;
    }
    return true;
}

} // namespace kovra::search
