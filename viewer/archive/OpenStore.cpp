// Which store a location names: a server for a connection URI, else a file.
#include "ArchiveLocation.h"
#include "ArchiveStore.h"
#include "SqliteStore.h"
#ifdef KOVRA_ARCHIVE_PG
#include "PgStore.h"
#endif

namespace kovra::archive {

namespace {

constexpr const char* kNoClient = "this build has no PostgreSQL client (libpq)";

} // namespace

std::unique_ptr<Store> OpenStore(const std::string& location, OpenMode mode)
{
    if (IsServerLocation(location)) {
#ifdef KOVRA_ARCHIVE_PG
        return OpenPgStore(location, mode);
#else
        throw StoreError(Failure::Unreachable, kNoClient);
#endif
    }
    return OpenSqliteStore(location, mode);
}

std::string TryServerConnect(const std::string& uri, int timeoutSeconds)
{
#ifdef KOVRA_ARCHIVE_PG
    return TryPgConnect(uri, timeoutSeconds);
#else
    (void)uri;
    (void)timeoutSeconds;
    return kNoClient;
#endif
}

} // namespace kovra::archive
