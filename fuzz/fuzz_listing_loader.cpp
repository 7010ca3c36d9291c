// Any bytes as an export file: the loader must end with an outcome, never
// crash, and read in chunks (as it reads files) it must come to the same
// outcome as over the whole bytes at once.
#include "ListingDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the chunk size, so chunk edges fall everywhere.
    // Not smaller: every chunk with a listing costs an arena block, which
    // the sanitizers make slow.
    const std::size_t chunk = 61 + std::size_t(data[0]) * 67;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    kovra::TListingDocument listings;
    const auto outcome = kovra::LoadListingBytes(listings, bytes, "f");
    if (outcome.ok()) {
        for (const auto& r : listings.ListingTable)
            for (int f = 0; f < kovra::kFieldCount; ++f)
                (void)r.field(f);
    }
    std::istringstream in{std::string(bytes)};
    kovra::TListingDocument chunked;
    const auto streamed = kovra::LoadListingStream(chunked, in, "f", chunk);
    if (streamed.status != outcome.status || streamed.errorLine != outcome.errorLine ||
        chunked.ListingCount != listings.ListingCount || chunked.KensakuNengappi != listings.KensakuNengappi)
        std::abort();
    return 0;
}
