// Which field a name typed by the user means.  A field answers to its name
// as `kovra dump` spells it ("Kakaku"), to its caption in the export's
// caption row ("価格（成約価格）") and to its column title ("価格"), all
// compared folded as the search folds texts, so "kakaku", "ＫＡＫＡＫＵ" and
// "価格" are the same field.  No two fields share a folded name (the tests
// hold the tables to that); were one ever to, the field name would win over
// a caption and a caption over a column title.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

// The field (0..93) that `name` names, or -1.
int ResolveFieldName(std::string_view name);

// Splits "FIELD=TEXT" at its first "=" (also the full-width "＝" an input
// method types); false when there is none.
bool SplitAtEquals(std::string_view argument, std::string_view& name, std::string_view& text);

// The names before "=" of the terms in a search text that name no field, in
// the order typed.  Such a term is searched for as a plain text (which finds
// nothing, as a rule), so the search box says which name it did not know.
std::vector<std::string> UnknownFieldNames(std::string_view searchText);

} // namespace kovra::search
