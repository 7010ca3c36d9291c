#include "SqliteStore.h"

#include "FileIO.h"
#include "SaveThroughTempFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace kovra::archive {

namespace {

Failure FailureOf(int code)
{
    switch (code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Failure::Corrupt;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Failure::Busy;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Failure::ReadOnly;
    case SQLITE_CANTOPEN: return Failure::CannotOpen;
    case SQLITE_FULL: return Failure::DiskFull;
    default: return Failure::Other;
    }
}

[[noreturn]] void Fail(sqlite3* db, int code)
{
    const char* what = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw StoreError(FailureOf(code), what ? what : sqlite3_errstr(code));
}

void Check(sqlite3* db, int code)
{
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW)
        Fail(db, code);
}

// The store's "$1" as SQLite's "?1", and as a bare "?" where it is the next
// number (as in a many-row INSERT): SQLite finds a named parameter by going
// through every name, and it looks up the name of every "?NNN" while making
// the statement, both once per parameter; a bare "?" takes the next number
// without either, so a statement of thousands of parameters is made in a
// blink instead of a tenth of a second.
std::string NumberedParameters(std::string_view sql)
{
    std::string out;
    out.reserve(sql.size());
    char quote = 0;
    long highest = 0;
    for (std::size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '\'' || c == '"')
            quote = c;
        else if (c == '$' && i + 1 < sql.size() && sql[i + 1] >= '0' && sql[i + 1] <= '9') {
            std::size_t end = i + 1;
            long number = 0;
            while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9' && number < 1000000)
                number = number * 10 + (sql[end++] - '0');
            out += '?';
            if (number == highest + 1)
                highest = number;
            else {
                out.append(sql.substr(i + 1, end - i - 1));
                highest = std::max(highest, number);
            }
            i = end - 1;
            continue;
        }
        out += c;
    }
    return out;
}

class SqliteStatement : public Statement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql) : db_(db)
    {
        const std::string numbered = NumberedParameters(sql);
        Check(db_, sqlite3_prepare_v3(db_, numbered.data(), static_cast<int>(numbered.size()), SQLITE_PREPARE_PERSISTENT,
                                      &stmt_, nullptr));
        parameters_ = sqlite3_bind_parameter_count(stmt_);
    }
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }

    void bind(int p, std::int64_t value) override { Check(db_, sqlite3_bind_int64(stmt_, at(p), value)); }
    void bindText(int p, std::string_view text) override
    {
        Check(db_, sqlite3_bind_text64(stmt_, at(p), text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    }
    void bindBytes(int p, std::string_view bytes) override
    {
        Check(db_, sqlite3_bind_blob64(stmt_, at(p), bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_TRANSIENT));
    }
    void bindNull(int p) override { Check(db_, sqlite3_bind_null(stmt_, at(p))); }

    bool next() override
    {
        if (done_)
            return false;
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        done_ = true;
        if (rc != SQLITE_DONE) {
            const int code = sqlite3_extended_errcode(db_);
            sqlite3_reset(stmt_);
            Fail(db_, code == SQLITE_OK ? rc : code);
        }
        return false;
    }
    bool isNull(int c) const override { return sqlite3_column_type(stmt_, c) == SQLITE_NULL; }
    std::int64_t integer(int c) const override { return sqlite3_column_int64(stmt_, c); }
    std::string_view text(int c) const override
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, c));
        return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, c))) : std::string_view();
    }
    std::string_view bytes(int c) const override
    {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, c));
        return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, c))) : std::string_view();
    }
    void reset() override
    {
        sqlite3_reset(stmt_);
        done_ = false;
    }

private:
    int at(int p) const
    {
        if (p <= 0 || p > parameters_)
            throw StoreError(Failure::Other, "no parameter $" + std::to_string(p));
        return p;
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int parameters_ = 0;
    bool done_ = false;
};

class SqliteStore : public Store {
public:
    SqliteStore(const std::string& path, OpenMode mode) : path_(path)
    {
        if (mode == OpenMode::ExistingOnly && !fileio::IsRegularFile(path))
            throw StoreError(Failure::Missing, "no such file");
        // Counting every allocation under a global lock costs an import a
        // tenth of its time; nothing here reads the counts.
        static std::once_flag configured;
        std::call_once(configured, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
        const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                          (mode == OpenMode::CreateWhenMissing ? SQLITE_OPEN_CREATE : 0);
        const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
        if (rc != SQLITE_OK) {
            const std::string what = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            db_ = nullptr;
            throw StoreError(FailureOf(rc), what);
        }
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kSqliteBusyMilliseconds);
        try {
            execute("PRAGMA foreign_keys = ON");
            // An import of a big file writes tens of megabytes in one
            // transaction; with SQLite's 2 MB cache its newest pages go to
            // the journal again and again (a million writes for 100,000
            // listings).
            execute("PRAGMA cache_size = -16384");
            // A new archive gets pages of 32 KB: its texts go in packed
            // blocks of some 9 KB, three to a page, and an import writes a
            // quarter as many pages through the journal as with SQLite's
            // 4 KB (an archive made before keeps its pages).
            execute("PRAGMA page_size = 32768");
        } catch (...) {
            sqlite3_close_v2(db_); // a file that is no database fails here already
            throw;
        }
    }
    ~SqliteStore() override { sqlite3_close_v2(db_); }

    const Dialect& dialect() const override
    {
        static constexpr Dialect kDialect{"INTEGER PRIMARY KEY", "BLOB", " WITHOUT ROWID", "", "", ""};
        return kDialect;
    }
    const std::string& location() const override { return path_; }

    std::unique_ptr<Statement> prepare(std::string_view sql) override
    {
        return std::make_unique<SqliteStatement>(db_, sql);
    }
    void execute(std::string_view sql) override
    {
        const std::string script(sql);
        Check(db_, sqlite3_exec(db_, script.c_str(), nullptr, nullptr, nullptr));
    }

    bool hasTable(std::string_view name) override
    {
        auto q = prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = $1");
        q->bindText(1, name);
        return q->next();
    }
    bool holdsOtherData() override
    {
        auto q = prepare("SELECT 1 FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' LIMIT 1");
        return q->next() && !hasTable("archive_schema");
    }
    void settle() override
    {
        // WAL lets readers (the viewer, a backup) go on while an import writes.
        auto q = prepare("PRAGMA journal_mode = WAL");
        q->next();
    }

    void checkReferences(bool on) override { execute(on ? "PRAGMA foreign_keys = ON" : "PRAGMA foreign_keys = OFF"); }
    void begin(bool write) override { execute(write ? "BEGIN IMMEDIATE" : "BEGIN"); }
    void commit() override
    {
        // A statement read only to its first row (an INSERT ... RETURNING)
        // is still running to SQLite, and a running one stops the commit.
        for (sqlite3_stmt* p = sqlite3_next_stmt(db_, nullptr); p; p = sqlite3_next_stmt(db_, p))
            if (sqlite3_stmt_busy(p))
                sqlite3_reset(p);
        execute("COMMIT");
    }
    void rollback() noexcept override { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

    void backupTo(const std::string& path) override
    {
        int failed = SQLITE_OK;
        std::string why;
        const bool saved = search::SaveThroughTempFile(path, [&](const std::string& temp) {
            sqlite3* copy = nullptr;
            int rc = sqlite3_open_v2(temp.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            if (rc == SQLITE_OK) {
                sqlite3_backup* b = sqlite3_backup_init(copy, "main", db_, "main");
                if (b) {
                    while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED)
                        sqlite3_sleep(50);
                    sqlite3_backup_finish(b);
                }
                rc = sqlite3_errcode(copy);
            }
            if (rc != SQLITE_OK) {
                failed = rc;
                why = copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc);
            }
            return sqlite3_close(copy) == SQLITE_OK && rc == SQLITE_OK;
        });
        if (!saved)
            throw StoreError(failed == SQLITE_OK ? Failure::CannotOpen : FailureOf(failed), why);
    }
    bool isStoreFile(const std::string& path) const override { return fileio::SameFile(path, path_); }

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

} // namespace

std::unique_ptr<Store> OpenSqliteStore(const std::string& path, OpenMode mode)
{
    return std::make_unique<SqliteStore>(path, mode);
}

} // namespace kovra::archive
