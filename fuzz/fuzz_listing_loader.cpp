// Any bytes as an export file: the loader must end with an outcome, never crash.
#include "ListingTable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kovra::ListingData listings;
    const auto outcome = kovra::LoadListingBytes(listings, std::string_view(reinterpret_cast<const char*>(data), size), "f");
    if (outcome.ok()) {
        for (const auto& r : listings.ListingTable)
            for (int f = 0; f < kovra::kFieldCount; ++f)
                (void)r.field(f);
    }
    return 0;
}
