#include "ListingInput.h"
#include "Output.h"

namespace kovra::cli {

bool LoadListings(TListingDocument& data, const std::string& path)
{
    data.CurrentFileName = path;
    const LoadOutcome outcome = LoadListingFile(data, path);
    if (!outcome.ok())
        PrintLine(stderr, outcome.message);
    return outcome.ok();
}

} // namespace kovra::cli
