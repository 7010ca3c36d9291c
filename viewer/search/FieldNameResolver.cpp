#include "FieldNameResolver.h"

#include "FieldColumnTitles.h"
#include "TextFolding.h"

#include <array>
#include <unordered_map>

namespace kovra::search {

namespace {

// Folded name -> field, made once.  The kinds of name go in from the
// strongest, and a weaker kind never takes a name that is already there.
const std::unordered_map<std::string, int>& FoldedNames()
{
    static const std::unordered_map<std::string, int> names = [] {
        std::unordered_map<std::string, int> map;
        for (int f = 0; f < kFieldCount; ++f)
            map.emplace(FoldText(kFieldNames[static_cast<std::size_t>(f)]), f);
        for (int f = 0; f < kFieldCount; ++f)
            map.emplace(FoldText(fieldCaption(f)), f);
        for (int f = 0; f < kFieldCount; ++f)
            map.emplace(FoldText(fieldColumnTitle(f)), f);
        return map;
    }();
    return names;
}

constexpr std::string_view kFullWidthEquals = "＝";

} // namespace

int ResolveFieldName(std::string_view name)
{
    if (const int exact = fieldIndex(name); exact >= 0) // the common case, without folding
        return exact;
    if (name.empty())
        return -1;
    const auto& names = FoldedNames();
    const auto it = names.find(FoldText(name));
    return it == names.end() ? -1 : it->second;
}

bool SplitAtEquals(std::string_view argument, std::string_view& name, std::string_view& text)
{
    const std::size_t ascii = argument.find('=');
    const std::size_t wide = argument.find(kFullWidthEquals);
    if (ascii == std::string_view::npos && wide == std::string_view::npos)
        return false;
    const bool isAscii = ascii < wide; // npos is the largest
    const std::size_t at = isAscii ? ascii : wide;
    name = argument.substr(0, at);
    text = argument.substr(at + (isAscii ? 1 : kFullWidthEquals.size()));
    return true;
}

std::vector<std::string> UnknownFieldNames(std::string_view searchText)
{
    std::vector<std::string> unknown;
    for (const std::string& piece : SplitAtWhiteSpace(searchText)) {
        std::string_view name, text;
        if (SplitAtEquals(piece, name, text) && !name.empty() && ResolveFieldName(name) < 0)
            unknown.emplace_back(name);
    }
    return unknown;
}

} // namespace kovra::search
