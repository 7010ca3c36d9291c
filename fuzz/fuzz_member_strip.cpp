// Any bytes as the source of a stripped copy; the copy must load again
// with the same number of listings as the source.
#include "ListingTable.h"
#include "MemberStrip.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const std::string copy = kovra::StripMemberItems(source);
    kovra::ListingData a, b;
    const auto before = kovra::LoadListingBytes(a, source, "a");
    const auto after = kovra::LoadListingBytes(b, copy, "b");
    if (before.ok() && (!after.ok() || a.ListingCount != b.ListingCount))
        std::abort();
    return 0;
}
