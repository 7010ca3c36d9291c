// Where the archive lives: one interface for every kind of store, so that
// the schema and the queries (ArchiveSchema, Archive) are written once.
// What differs between stores (type names, locking, backups, how a store's
// own errors read) sits in its small store class.  Every query takes its
// values as parameters $1, $2 ...; no text from outside ever becomes SQL.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::archive {

// Why a store failed, as the user is told it.
enum class Failure {
    Missing,     // no archive at that place (only when not asked to create one)
    CannotOpen,  // the file or folder cannot be opened or made
    Corrupt,     // not an archive, or damaged
    NewerSchema, // written by a newer version of the program
    Busy,        // locked by another program beyond the wait
    ReadOnly,    // no permission to write
    DiskFull,
    Unreachable, // a server that cannot be reached; `detail` is its word
    Other,       // `detail` says what
};

class StoreError : public std::runtime_error {
public:
    StoreError(Failure failure, const std::string& detail) : std::runtime_error(detail), failure_(failure) {}
    Failure failure() const { return failure_; }

private:
    Failure failure_;
};

// A prepared query.  Parameters count from 1, columns from 0.
class Statement {
public:
    virtual ~Statement() = default;
    virtual void bind(int parameter, std::int64_t value) = 0;
    virtual void bindText(int parameter, std::string_view text) = 0;
    virtual void bindBytes(int parameter, std::string_view bytes) = 0;
    virtual void bindNull(int parameter) = 0;
    // Runs the query on the first call; true while a row is at hand.
    virtual bool next() = 0;
    virtual bool isNull(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    // Valid until the next call of next() or reset().
    virtual std::string_view text(int column) const = 0;
    virtual std::string_view bytes(int column) const = 0;
    // Ready to run again; the bindings stay until replaced.
    virtual void reset() = 0;
};

// Rows for one table, written many at once: their values given column by
// column, row after row, in the order the columns were named.  Integers
// go into BIGINT columns.  Rows wait in memory until flush(), so rows that
// refer to rows of another sink are flushed after that sink's.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void add(std::int64_t value) = 0;
    virtual void addText(std::string_view text) = 0;
    virtual void addBytes(std::string_view bytes) = 0;
    // Rows given and not yet written.
    virtual std::size_t waiting() const = 0;
    // Writes every waiting row; on failure throws, and the rows are gone.
    virtual void flush() = 0;
};

// The spellings a schema needs from the store's SQL.
struct Dialect {
    std::string_view id;           // an integer key the store numbers: "INTEGER PRIMARY KEY"
    std::string_view bytes;        // a byte string: "BLOB"
    std::string_view withoutRowid; // after a table whose key is its primary key, or empty
    // A script taking the references off the rows each import writes by
    // the hundred thousand (versions, presence), or empty where an import
    // can write without checking them instead (checkReferences).  A server
    // checks each reference with a query of its own, which costs ten times
    // the row; the archive gives those rows their ids itself, in the
    // import's one transaction.
    std::string_view bulkReferencesOff;
    // A script giving presence an index by version, or empty.  A server
    // finds a listing's imports through it at a step; SQLite probes the
    // key once per import faster than it keeps another index.
    std::string_view presenceByVersion;
    // A script keeping the packed texts as they are, or empty.  A server
    // tries to pack every value of some kilobytes again, in vain.
    std::string_view blocksAsTheyAre;
};

class Store {
public:
    virtual ~Store() = default;
    virtual const Dialect& dialect() const = 0;
    // Where the store is, as the user named it (for messages).
    virtual const std::string& location() const = 0;

    virtual std::unique_ptr<Statement> prepare(std::string_view sql) = 0;
    // Runs statements made and bound here, not yet run, all at once where
    // that gains: a server answers them in one trip.  Their rows are then
    // read as ever.
    virtual void runTogether(std::initializer_list<Statement*> statements) { (void)statements; }
    // Writes rows into `table` (a name of the schema, never a text from
    // outside): by default through INSERTs of many rows each.
    virtual std::unique_ptr<RowSink> rowSink(std::string_view table, const std::vector<std::string_view>& columns);
    // A script of statements without parameters (the schema).
    virtual void execute(std::string_view sql) = 0;

    virtual bool hasTable(std::string_view name) = 0;
    // True when the store holds tables that are not the archive's, so it
    // is no archive and must not become one.
    virtual bool holdsOtherData() = 0;
    // Called once the schema version was found readable and not newer:
    // settings that change the store itself (a journal mode) come only then,
    // so a store refused is left as it was.
    virtual void settle() = 0;

    // A transaction; a writing one holds the store's write lock from its
    // start, so two writers wait for each other instead of failing late.
    virtual void begin(bool write) = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;

    // Whether each row written is checked to refer to rows that are there;
    // only ever changed outside a transaction.  On by default; an import
    // writes without (see ImportChecksOff).
    virtual void checkReferences(bool on) { (void)on; }

    // After rows were written with the ids they had elsewhere (a copy):
    // the table's own numbering goes on after the highest.
    virtual void idsGiven(std::string_view table) { (void)table; }

    // True for a store in one file, which copies itself (backupTo).
    virtual bool isFile() const { return true; }
    // A consistent copy of the whole store into the file `path` (UTF-8),
    // while others may be using the store.
    virtual void backupTo(const std::string& path) = 0;
    // True when `path` is the store's own file.
    virtual bool isStoreFile(const std::string& path) const = 0;
};

enum class OpenMode { CreateWhenMissing, ExistingOnly };

// The store at `location`: a PostgreSQL server for a connection URI
// (IsServerLocation), else an SQLite file.
std::unique_ptr<Store> OpenStore(const std::string& location, OpenMode mode);

// Connects to the server at `uri` and leaves at once, waiting at most
// `timeoutSeconds`: empty when that worked, else the client's reason.
std::string TryServerConnect(const std::string& uri, int timeoutSeconds);

} // namespace kovra::archive
