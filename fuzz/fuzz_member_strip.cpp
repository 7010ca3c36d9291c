// Any bytes as the source of a stripped copy; the copy must load again
// with the same number of listings as the source, and stripping it in runs
// of whole lines (as the save reads its file) must give the same bytes.
#include "ListingDocument.h"
#include "MemberStrip.h"
#include "TextLines.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string_view source(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string copy = kovra::StripMemberItems(source);
    kovra::TListingDocument a, b;
    const auto before = kovra::LoadListingBytes(a, source, "a");
    const auto after = kovra::LoadListingBytes(b, copy, "b");
    if (before.ok() && (!after.ok() || a.ListingCount != b.ListingCount))
        std::abort();

    std::size_t pos = 0;
    kovra::text::WholeLineReader reader(
        [&](char* into, std::size_t n) {
            n = std::min(n, source.size() - pos);
            std::memcpy(into, source.data() + pos, n);
            pos += n;
            return n;
        },
        chunk);
    std::string inRuns;
    std::string_view run;
    while (reader.next(run))
        inRuns += kovra::StripMemberItems(run);
    if (inRuns != copy)
        std::abort();
    return 0;
}
