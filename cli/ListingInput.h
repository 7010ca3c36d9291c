// The listing file a command reads.
#pragma once

#include "ListingDocument.h"

#include <string>

namespace kovra::cli {

// Loads `path` as the viewer does; on failure prints the viewer's message
// to stderr and returns false.
bool LoadListings(TListingDocument& data, const std::string& path);

} // namespace kovra::cli
