// A listing made in a test from the texts of a few fields.
#pragma once

#include "KovraRecord.h"

#include <map>
#include <string>

namespace kovra::test {

// The given fields' texts and "" elsewhere.
inline TKovraDataClass ListingWithTexts(const std::map<Field, std::string>& texts)
{
    RecordBuilder b;
    for (int f = 0; f < kFieldCount; ++f) {
        const auto it = texts.find(static_cast<Field>(f));
        b.add(it == texts.end() ? std::string_view() : std::string_view(it->second));
    }
    return b.finish();
}

} // namespace kovra::test
