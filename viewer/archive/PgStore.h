// The archive on a PostgreSQL server (libpq, the C client): one connection,
// writers one at a time through a lock of the database's own, readers on
// a snapshot of their own.  The password comes from libpq's own means
// (~/.pgpass, the service file), never from the program's settings.
#pragma once

#include "ArchiveStore.h"

namespace kovra::archive {

// How long a connect waits for the server before it gives up, unless the
// location names its own connect_timeout.
inline constexpr int kPgConnectSeconds = 10;

// Throws StoreError (Failure::Unreachable with the server's word) when the
// server cannot be reached.  A server is never "missing": the database is
// there or the connect fails, so `mode` changes nothing.
std::unique_ptr<Store> OpenPgStore(const std::string& uri, OpenMode mode);

// Connects to `uri` and leaves at once; empty when that worked, else
// libpq's reason.  For the settings' 接続テスト.
std::string TryPgConnect(const std::string& uri, int timeoutSeconds = kPgConnectSeconds);

} // namespace kovra::archive
