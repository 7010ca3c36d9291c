// The archive's tables, the same for every store: a list of forward
// migrations, one per schema version, run in order when an archive opens.
// A migration once released never changes; a new schema is a new one.
#pragma once

#include "ArchiveStore.h"

#include <span>
#include <string>
#include <string_view>

namespace kovra::archive {

// Migration n (1-based) makes schema version n from version n-1.  Its
// text names the store's types as {id}, {bytes} and {without_rowid}, and
// what only some stores do as {bulk_references_off}.
std::span<const std::string_view> Migrations();
inline int LatestSchemaVersion() { return static_cast<int>(Migrations().size()); }

// A migration's text in the store's own spelling.
std::string SchemaText(std::string_view migration, const Dialect& dialect);

// The columns of a table as a whole-archive copy moves them, in the
// order of their dependencies; notes are copied by content (CopyArchive).
enum class ColumnKind { Integer, Text, Bytes };
struct CopiedColumn {
    std::string_view name;
    ColumnKind kind;
};
struct CopiedTable {
    std::string_view name;
    std::span<const CopiedColumn> columns;
    std::string_view importColumn; // the column naming the row's import; empty: shared by all
    bool numbered;                 // has an id column the store numbers
};
std::span<const CopiedTable> CopiedTables();

// The version of the archive in `store`: 0 for an empty store.  Refuses a
// store that holds other tables (Corrupt).
int ReadSchemaVersion(Store& store);

// Brings the store to `version` (at most the latest), in one writing
// transaction; another program may have done it meanwhile.  Refuses a
// store written by a newer program (NewerSchema) before changing anything.
void Migrate(Store& store, int version);

} // namespace kovra::archive
