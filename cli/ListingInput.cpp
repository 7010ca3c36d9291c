#include "ListingInput.h"

namespace kovra::cli {

bool LoadListings(TListingDocument& data, const std::string& path)
{
    data = std::move(*LoadAndSay(path));
    return data.Outcome.ok();
}

} // namespace kovra::cli
