// The listing file a command reads.
#pragma once

#include "ListingDocument.h"

#include <string>

namespace kovra::cli {

// Loads `path` into `data` as the viewer does (LoadAndSay: on failure the
// viewer's message goes to stderr) and returns whether it loaded.
bool LoadListings(TListingDocument& data, const std::string& path);

} // namespace kovra::cli
