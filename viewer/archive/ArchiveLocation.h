// What kind of place an archive location names, read from its text alone
// (no Qt, no libpq): a PostgreSQL connection URI, or a file.
#pragma once

#include <string>
#include <string_view>

namespace kovra::archive {

// "postgresql://…" or "postgres://…" (the two URI forms libpq takes).
bool IsServerLocation(std::string_view location);

// The server's host (and port) as a message names it: "office-db:5433",
// a socket folder, or "localhost" when the URI names none.
std::string ServerHostOf(std::string_view uri);

// True when the URI carries a password (user:secret@ or password=…),
// which belongs in ~/.pgpass and never in the settings.
bool HasPassword(std::string_view uri);

} // namespace kovra::archive
