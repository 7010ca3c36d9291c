// The lines of `kovra changes`, which `kovra archive changes` and
// `kovra archive history` print too:
//   new<TAB>NUM, gone<TAB>NUM,
//   status<TAB>NUM<TAB>OLD<TAB>NEW, price<TAB>NUM<TAB>OLD<TAB>NEW,
//   changed<TAB>NUM<TAB>FIELD,FIELD,...
#pragma once

#include "ListingChanges.h"

#include <span>
#include <string>
#include <string_view>

namespace kovra::cli {

// One listing's finding.  `lead` goes before every line ("2024-12-01\t"
// in a history); an empty `number` leaves the number out.
struct FindingLines {
    std::string_view lead{};
    std::string_view number{};
    unsigned kinds = 0;
    std::string_view oldStatus{}, newStatus{}, oldPrice{}, newPrice{};
    std::span<const int> fields{}; // every field whose text differs
};
void AppendFindingLines(std::string& out, const FindingLines& finding);

} // namespace kovra::cli
