// The archive in one SQLite file (the C library): WAL journal, foreign
// keys on, a writer waits for another writer up to a timeout.
#pragma once

#include "ArchiveStore.h"

namespace kovra::archive {

// How long a writer waits for another one before it gives up (Busy).
inline constexpr int kSqliteBusyMilliseconds = 30000;

std::unique_ptr<Store> OpenSqliteStore(const std::string& path, OpenMode mode);

} // namespace kovra::archive
