#include "PgStore.h"

#include "ArchiveLocation.h"

#include <libpq-fe.h>

#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <unordered_map>
#include <vector>

namespace kovra::archive {

namespace {

// Type ids of the columns the archive reads (pg_type.oid).
constexpr Oid kInt8 = 20, kInt2 = 21, kInt4 = 23;

// Writers take this lock of the database for their transaction, so they
// go one after the other as on a file; readers never wait for it.
constexpr std::int64_t kWriterLock = 0x4b6f7672614172; // "KovraAr"

std::string FirstLine(const char* text)
{
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    const std::size_t end = s.find('\n');
    return end == std::string::npos ? s : s.substr(0, end);
}

Failure FailureOf(const char* sqlstate, bool connected)
{
    // What the client says itself, without the server's code, is about
    // the connection ("server closed the connection unexpectedly").
    if (!connected || !sqlstate || !*sqlstate)
        return Failure::Unreachable;
    const std::string_view state = sqlstate;
    const std::string_view group = state.substr(0, 2);
    if (group == "08" || group == "57" || group == "28" || state == "3D000")
        return Failure::Unreachable; // connection, shutdown, login, no such database
    if (state == "42501" || state == "25006")
        return Failure::ReadOnly;
    if (state == "53100")
        return Failure::DiskFull;
    if (state == "40001" || state == "40P01" || state == "55P03")
        return Failure::Busy;
    if (group == "XX")
        return Failure::Corrupt;
    return Failure::Other;
}

class Connection {
public:
    explicit Connection(const std::string& uri, int timeoutSeconds)
    {
        // The URI's own values come after ours, so they win.
        const std::string timeout = std::to_string(timeoutSeconds);
        // Every query the archive asks finds its rows by keys, so a prepared
        // one is planned once for all values instead of anew for its first
        // runs.
        const char* keys[] = {"connect_timeout", "application_name", "client_encoding", "options", "dbname", nullptr};
        const char* values[] = {timeout.c_str(), "kovra", "UTF8", "-c plan_cache_mode=force_generic_plan", uri.c_str(),
                                nullptr};
        conn_ = PQconnectdbParams(keys, values, 1);
    }
    ~Connection() { PQfinish(conn_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    PGconn* get() const { return conn_; }
    bool ok() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }
    std::string error() const { return conn_ ? FirstLine(PQerrorMessage(conn_)) : "out of memory"; }

private:
    PGconn* conn_ = nullptr;
};

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

[[noreturn]] void Fail(PGconn* conn, const PGresult* result)
{
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* what = result ? PQresultErrorMessage(result) : nullptr;
    std::string detail = FirstLine(what && *what ? what : PQerrorMessage(conn));
    if (detail.rfind("ERROR:  ", 0) == 0 || detail.rfind("FATAL:  ", 0) == 0)
        detail = detail.substr(8);
    throw StoreError(FailureOf(state, PQstatus(conn) == CONNECTION_OK), detail);
}

Result Check(PGconn* conn, PGresult* r)
{
    Result held(r, &PQclear);
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        Fail(conn, r);
    return held;
}

// What a connection carries from call to call.
//  - The statements prepared on it, by their text: a query run a second
//    time, by whichever call, is parsed and planned once (a viewer asks the
//    same few questions again and again).
//  - A reader's transaction, which costs no trip of its own: its BEGIN goes
//    in one trip with its first query, and its end is not waited for (the
//    next use of the connection takes the answer).
//  - Rows sent by COPY: the server takes them in while the client makes
//    the next ones; the next use of the connection takes the answer, and a
//    failure there fails that use (at the latest the COMMIT).
class Session {
public:
    explicit Session(PGconn* conn) : conn_(conn) {}

    // The next query starts a transaction with `begin` first.
    void startWithNextQuery(std::string begin) { start_ = std::move(begin); }
    // The rows of a COPY went, its answer not waited for.
    void copySent() { copying_ = true; }
    // The answer to a COPY still to come; its failure is thrown.
    void takeCopy()
    {
        if (!copying_)
            return;
        copying_ = false;
        Result done(PQgetResult(conn_), &PQclear);
        while (PGresult* more = PQgetResult(conn_))
            PQclear(more);
        Check(conn_, done.release());
    }
    // The same where nothing is thrown: the transaction is ending anyway.
    void dropCopy() noexcept
    {
        if (!copying_)
            return;
        copying_ = false;
        while (PGresult* r = PQgetResult(conn_))
            PQclear(r);
    }

    // Ends a reader's transaction without waiting; nothing when it never began.
    void endUnwaited(const char* end) noexcept
    {
        dropCopy();
        if (!start_.empty()) {
            start_.clear();
            return;
        }
        takeEnd();
        // Into a pipeline left open: the next trip takes its answer.
        if (PQenterPipelineMode(conn_) == 1) {
            ended_ = PQsendQueryParams(conn_, end, 0, nullptr, nullptr, nullptr, nullptr, 1) == 1 &&
                     PQpipelineSync(conn_) == 1;
            if (ended_)
                return;
            readEnd();
            PQexitPipelineMode(conn_);
        }
        PQclear(PQexec(conn_, end));
    }
    // Before the connection is used otherwise: the answer to an end not
    // waited for is taken, and a BEGIN still to go is sent.
    void ready()
    {
        takeCopy();
        takeEnd();
        if (!start_.empty()) {
            const std::string begin = std::move(start_);
            start_.clear();
            Check(conn_, PQexec(conn_, begin.c_str()));
        }
    }

    // A query with its values, and its result once run.
    struct Request {
        const std::string* sql;
        int n;
        const char* const* values;
        const int* lengths;
        const int* formats;
        PGresult* result = nullptr;
    };

    // Runs the queries, results in binary: with a BEGIN still to go, or
    // more than one, all in one trip.
    void run(std::span<Request> requests)
    {
        takeCopy();
        // A query prepared now waits for the end still in the pipeline.
        for (const Request& r : requests)
            if (const auto it = known_.find(*r.sql); it != known_.end() && it->second.name.empty())
                takeEnd();
        std::vector<const std::string*> names;
        for (Request& r : requests)
            names.push_back(&nameFor(*r.sql, r.n));
        const bool carried = ended_; // an end in the pipeline, its answer not yet read
        ended_ = false;
        if (!carried && start_.empty() && requests.size() == 1) {
            requests[0].result = exec(requests[0], *names[0]);
            return;
        }
        const std::string begin = std::move(start_);
        start_.clear();
        PGresult* began = nullptr;
        if (carried || PQenterPipelineMode(conn_) == 1) {
            bool sent = begin.empty() ||
                        PQsendQueryParams(conn_, begin.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 1) == 1;
            for (std::size_t i = 0; i < requests.size() && sent; ++i)
                sent = send(requests[i], *names[i]);
            const bool synced = sent && PQpipelineSync(conn_) == 1;
            if (carried)
                readEnd();
            if (synced) {
                // Each query's results end with a null; the sync point last.
                auto take = [this](PGresult*& first) {
                    while (PGresult* r = PQgetResult(conn_)) {
                        if (first)
                            PQclear(r);
                        else
                            first = r;
                    }
                };
                if (!begin.empty())
                    take(began);
                for (Request& r : requests)
                    take(r.result);
                while (PGresult* r = PQgetResult(conn_)) {
                    const bool sync = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
                    PQclear(r);
                    if (sync)
                        break;
                }
            }
            PQexitPipelineMode(conn_);
        }
        if (begin.empty() || (began && PQresultStatus(began) == PGRES_COMMAND_OK)) {
            PQclear(began);
            return;
        }
        for (Request& r : requests) {
            PQclear(r.result);
            r.result = nullptr;
        }
        // A connection found lost at the BEGIN: nothing was done yet, so
        // the transaction starts once more on a new one.
        const char* state = began ? PQresultErrorField(began, PG_DIAG_SQLSTATE) : nullptr;
        if (state && *state) {
            requests[0].result = began; // the BEGIN's failure is the one to tell
            return;
        }
        PQclear(began);
        reconnect();
        Check(conn_, PQexec(conn_, begin.c_str()));
        for (Request& r : requests)
            r.result = exec(r, nameFor(*r.sql, r.n));
    }

    // Makes the connection again; what was prepared on it is gone.
    void reconnect()
    {
        dropCopy();
        PQreset(conn_);
        known_.clear();
        ended_ = false;
        if (PQstatus(conn_) != CONNECTION_OK)
            throw StoreError(Failure::Unreachable, FirstLine(PQerrorMessage(conn_)));
    }

private:
    // The name `sql` is prepared as, preparing it at its second use; empty
    // while it runs unprepared.
    const std::string& nameFor(const std::string& sql, int parameters)
    {
        static const std::string kNone;
        auto [it, added] = known_.try_emplace(sql);
        if (added && known_.size() > kMostKept) {
            known_.erase(it); // texts made for one run only: never kept
            return kNone;
        }
        Known& k = it->second;
        if (k.name.empty() && ++k.uses >= 2) {
            std::string name = "kovra_" + std::to_string(++named_);
            Check(conn_, PQprepare(conn_, name.c_str(), sql.c_str(), parameters, nullptr));
            k.name = std::move(name);
        }
        return k.name;
    }
    PGresult* exec(const Request& r, const std::string& name)
    {
        return name.empty() ? PQexecParams(conn_, r.sql->c_str(), r.n, nullptr, r.values, r.lengths, r.formats, 1)
                            : PQexecPrepared(conn_, name.c_str(), r.n, r.values, r.lengths, r.formats, 1);
    }
    // Into the pipeline; true when it went.
    bool send(const Request& r, const std::string& name)
    {
        return (name.empty() ? PQsendQueryParams(conn_, r.sql->c_str(), r.n, nullptr, r.values, r.lengths, r.formats, 1)
                             : PQsendQueryPrepared(conn_, name.c_str(), r.n, r.values, r.lengths, r.formats, 1)) == 1;
    }
    // Reads the answer to the end in the pipeline, and leaves the pipeline.
    void takeEnd() noexcept
    {
        if (!ended_)
            return;
        readEnd();
        PQexitPipelineMode(conn_);
        ended_ = false;
    }
    // An end's answer, then its sync point.
    void readEnd() noexcept
    {
        while (PGresult* r = PQgetResult(conn_))
            PQclear(r);
        while (PGresult* r = PQgetResult(conn_)) {
            const bool sync = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
            PQclear(r);
            if (sync)
                break;
        }
    }

    static constexpr std::size_t kMostKept = 1000;
    struct Known {
        int uses = 0;
        std::string name;
    };
    PGconn* conn_;
    std::unordered_map<std::string, Known> known_;
    std::uint64_t named_ = 0;
    std::string start_;    // a BEGIN to go with the next query
    bool ended_ = false;   // an end sent and not yet answered
    bool copying_ = false; // a COPY's rows sent and not yet answered
};

class PgStatement : public Statement {
public:
    PgStatement(PGconn* conn, std::string_view sql, Session& session) : conn_(conn), sql_(sql), session_(session)
    {
        // The parameters the text names: $1 … $N.
        int highest = 0;
        for (std::size_t at = sql_.find('$'); at != std::string::npos; at = sql_.find('$', at + 1)) {
            int n = 0;
            for (std::size_t i = at + 1; i < sql_.size() && sql_[i] >= '0' && sql_[i] <= '9'; ++i)
                n = n * 10 + (sql_[i] - '0');
            highest = std::max(highest, n);
        }
        values_.resize(static_cast<std::size_t>(highest));
        binary_.resize(values_.size(), 0);
    }

    void bind(int p, std::int64_t value) override { set(p, std::to_string(value), false); }
    void bindText(int p, std::string_view text) override { set(p, std::string(text), false); }
    void bindBytes(int p, std::string_view bytes) override { set(p, std::string(bytes), true); }
    void bindNull(int p) override
    {
        slot(p).reset();
        binary_[static_cast<std::size_t>(p - 1)] = 0;
    }

    bool next() override
    {
        if (!result_) {
            if (!answer_) {
                Session::Request r = request();
                session_.run({&r, 1});
                answer_ = r.result;
            }
            PGresult* answer = answer_;
            answer_ = nullptr;
            result_ = Check(conn_, answer).release();
            row_ = -1;
        }
        if (row_ + 1 >= PQntuples(result_))
            return false;
        ++row_;
        return true;
    }
    // Not yet run: the query and its values as they stand (valid until
    // they change).
    bool waiting() const { return !result_ && !answer_; }
    Session::Request request()
    {
        const std::size_t n = values_.size();
        pointers_.assign(n, nullptr);
        lengths_.assign(n, 0);
        for (std::size_t i = 0; i < n; ++i)
            if (values_[i]) {
                pointers_[i] = values_[i]->c_str();
                lengths_[i] = static_cast<int>(values_[i]->size());
            }
        return {&sql_, static_cast<int>(n), pointers_.data(), lengths_.data(), binary_.data()};
    }
    // The answer of its run, told by the first next().
    void take(PGresult* answer) { answer_ = answer; }
    bool isNull(int c) const override { return PQgetisnull(result_, row_, c) != 0; }
    std::int64_t integer(int c) const override
    {
        if (isNull(c))
            return 0;
        const auto* p = reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row_, c));
        int size = 0;
        switch (PQftype(result_, c)) {
        case kInt8: size = 8; break;
        case kInt4: size = 4; break;
        case kInt2: size = 2; break;
        default: throw StoreError(Failure::Other, "column " + std::to_string(c) + " is not an integer");
        }
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v = (v << 8) | p[i];
        // Sign-extend the narrower types.
        const int shift = 64 - 8 * size;
        return static_cast<std::int64_t>(v << shift) >> shift;
    }
    std::string_view text(int c) const override { return bytes(c); }
    std::string_view bytes(int c) const override
    {
        if (isNull(c))
            return {};
        return {PQgetvalue(result_, row_, c), static_cast<std::size_t>(PQgetlength(result_, row_, c))};
    }
    void reset() override
    {
        PQclear(result_);
        PQclear(answer_);
        result_ = answer_ = nullptr;
    }
    ~PgStatement() override { reset(); }

private:
    std::optional<std::string>& slot(int p)
    {
        if (p <= 0 || static_cast<std::size_t>(p) > values_.size())
            throw StoreError(Failure::Other, "no parameter $" + std::to_string(p));
        return values_[static_cast<std::size_t>(p - 1)];
    }
    void set(int p, std::string value, bool binary)
    {
        slot(p) = std::move(value);
        binary_[static_cast<std::size_t>(p - 1)] = binary ? 1 : 0;
    }

    PGconn* conn_;
    std::string sql_;
    Session& session_;
    std::vector<std::optional<std::string>> values_;
    std::vector<int> binary_;
    std::vector<const char*> pointers_;
    std::vector<int> lengths_;
    PGresult* result_ = nullptr;
    PGresult* answer_ = nullptr; // run, not yet told
    int row_ = -1;
};

// Rows through COPY in PostgreSQL's binary form: one command and one
// stream of bytes for thousands of rows, instead of a statement each few.
class CopySink : public RowSink {
public:
    CopySink(PGconn* conn, Session& session, std::string_view table, const std::vector<std::string_view>& columns,
             std::set<std::string>& filled)
        : conn_(conn), session_(session), columns_(static_cast<std::uint16_t>(columns.size())), table_(table),
          filled_(filled)
    {
        command_ = "COPY " + std::string(table) + " (";
        for (std::size_t c = 0; c < columns.size(); ++c)
            command_ += (c ? ", " : "") + std::string(columns[c]);
        command_ += ") FROM STDIN (FORMAT binary)";
        start();
    }

    void add(std::int64_t value) override
    {
        field(8);
        put(static_cast<std::uint64_t>(value), 8);
    }
    void addText(std::string_view text) override { addBytes(text); }
    void addBytes(std::string_view bytes) override
    {
        field(bytes.size());
        data_.append(bytes);
    }
    std::size_t waiting() const override { return rows_; }

    void flush() override
    {
        if (given_ % columns_ != 0)
            throw StoreError(Failure::Other, "a row without all its values");
        if (rows_ == 0)
            return;
        put(0xFFFF, 2); // the end of the rows
        std::string data;
        data.swap(data_);
        start();
        session_.ready();
        Result r(PQexec(conn_, command_.c_str()), &PQclear);
        if (!r || PQresultStatus(r.get()) != PGRES_COPY_IN)
            Fail(conn_, r.get());
        // In pieces, so the client holds no second copy of the whole.
        constexpr std::size_t kPiece = 1 << 20;
        bool sent = true;
        for (std::size_t at = 0; at < data.size() && sent; at += kPiece)
            sent = PQputCopyData(conn_, data.data() + at, static_cast<int>(std::min(kPiece, data.size() - at))) == 1;
        if (PQputCopyEnd(conn_, sent ? nullptr : "the client stopped") != 1)
            Fail(conn_, nullptr);
        // The server takes the rows in while the client goes on.
        session_.copySent();
        filled_.insert(table_);
    }

private:
    void start()
    {
        static constexpr char kHeader[] = "PGCOPY\n\377\r\n\0";
        data_.assign(kHeader, sizeof kHeader - 1);
        put(0, 4); // flags
        put(0, 4); // no header extension
        rows_ = 0;
        given_ = 0;
    }
    // Big-endian, as the format has it.
    void put(std::uint64_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            data_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void field(std::size_t length)
    {
        if (given_++ % columns_ == 0) {
            put(columns_, 2);
            ++rows_;
        }
        if (length > 0x7FFFFFFF)
            throw StoreError(Failure::Other, "a value too long for the server");
        put(length, 4);
    }

    PGconn* conn_;
    Session& session_;
    std::uint16_t columns_;
    std::string command_;
    std::string table_;
    std::set<std::string>& filled_;
    std::string data_;
    std::size_t rows_ = 0;
    std::size_t given_ = 0;
};

class PgStore : public Store {
public:
    PgStore(const std::string& uri) : uri_(uri), conn_(std::make_unique<Connection>(uri, kPgConnectSeconds))
    {
        if (!conn_->ok())
            throw StoreError(Failure::Unreachable, conn_->error());
        // Notices ("relation already exists, skipping") are nothing for the user.
        PQsetNoticeProcessor(conn_->get(), [](void*, const char*) {}, nullptr);
    }

    const Dialect& dialect() const override
    {
        static constexpr Dialect kDialect{
            "BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY", "BYTEA", "",
            "ALTER TABLE versions DROP CONSTRAINT IF EXISTS versions_listing_id_fkey, "
            "DROP CONSTRAINT IF EXISTS versions_import_id_fkey, DROP CONSTRAINT IF EXISTS versions_block_id_fkey; "
            "ALTER TABLE presence DROP CONSTRAINT IF EXISTS presence_import_id_fkey, "
            "DROP CONSTRAINT IF EXISTS presence_version_id_fkey;",
            "CREATE INDEX IF NOT EXISTS presence_by_version ON presence (version_id, import_id);",
            "ALTER TABLE text_blocks ALTER COLUMN texts SET STORAGE EXTERNAL;"};
        return kDialect;
    }
    const std::string& location() const override { return uri_; }

    std::unique_ptr<Statement> prepare(std::string_view sql) override
    {
        return std::make_unique<PgStatement>(conn_->get(), sql, session_);
    }
    void runTogether(std::initializer_list<Statement*> statements) override
    {
        std::vector<PgStatement*> waiting;
        std::vector<Session::Request> requests;
        for (Statement* s : statements)
            if (auto* p = static_cast<PgStatement*>(s); p->waiting()) {
                waiting.push_back(p);
                requests.push_back(p->request());
            }
        session_.run(requests);
        for (std::size_t i = 0; i < waiting.size(); ++i)
            waiting[i]->take(requests[i].result);
    }
    std::unique_ptr<RowSink> rowSink(std::string_view table, const std::vector<std::string_view>& columns) override
    {
        return std::make_unique<CopySink>(conn_->get(), session_, table, columns, filled_);
    }
    void execute(std::string_view sql) override
    {
        const std::string script(sql);
        session_.ready();
        Check(conn_->get(), PQexec(conn_->get(), script.c_str()));
    }

    bool hasTable(std::string_view name) override
    {
        auto q = prepare("SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = current_schema() AND tablename = $1");
        q->bindText(1, name);
        return q->next();
    }
    bool holdsOtherData() override
    {
        auto q = prepare("SELECT 1 FROM pg_catalog.pg_tables WHERE schemaname = current_schema() LIMIT 1");
        return q->next() && !hasTable("archive_schema");
    }
    void settle() override {}

    void begin(bool write) override
    {
        // A connection the server dropped (a restart) is made again here,
        // between transactions, so a viewer works on once the server is
        // back.  A connection is found lost only by using it: when the
        // transaction's first word finds it so, nothing was done yet, and
        // the transaction starts once more on a new one.
        if (PQstatus(conn_->get()) != CONNECTION_OK)
            session_.reconnect();
        reader_ = !write;
        if (reader_) {
            // Its queries all see one snapshot.
            session_.startWithNextQuery("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
            return;
        }
        try {
            execute("BEGIN");
        } catch (const StoreError& e) {
            // The client may learn only later that the connection is gone.
            if (e.failure() != Failure::Unreachable)
                throw;
            session_.reconnect();
            execute("BEGIN");
        }
        try {
            auto q = prepare("SELECT pg_advisory_xact_lock($1)");
            q->bind(1, kWriterLock);
            q->next();
        } catch (...) {
            rollback();
            throw;
        }
    }
    void commit() override
    {
        if (reader_) {
            reader_ = false;
            session_.endUnwaited("COMMIT");
            return;
        }
        execute("COMMIT");
        countNewTables();
    }
    void rollback() noexcept override
    {
        if (reader_) {
            reader_ = false;
            session_.endUnwaited("ROLLBACK");
            return;
        }
        filled_.clear();
        session_.dropCopy();
        PQclear(PQexec(conn_->get(), "ROLLBACK"));
    }

    void idsGiven(std::string_view table) override
    {
        // Rows copied with their ids leave the table's numbering behind them.
        const std::string t(table);
        execute("SELECT setval(pg_get_serial_sequence('" + t + "', 'id'), COALESCE((SELECT MAX(id) FROM " + t +
                "), 0) + 1, false)");
    }

    // A table filled in bulk that the server has never counted is counted
    // now: without its figures the planner guesses a table of hundreds of
    // thousands of rows small, and a listing's history reads the whole of
    // presence instead of probing its key.  Later the server's own
    // autovacuum keeps the figures; the first count is not left to it, as
    // it comes a minute later at best.  It reads a tenth of the sample a
    // full count reads: the planner needs the table's size from it, which
    // that gives as well, and the count took the first import a tenth of
    // its time.  Best effort, after the commit.
    void countNewTables() noexcept
    {
        std::set<std::string> tables;
        tables.swap(filled_);
        try {
            auto q = prepare("SELECT 1 FROM pg_catalog.pg_class WHERE oid = to_regclass($1) AND reltuples < 0");
            for (const std::string& t : tables) {
                q->reset();
                q->bindText(1, t);
                if (q->next())
                    execute("SET default_statistics_target = 10; ANALYZE " + t + "; RESET default_statistics_target");
            }
        } catch (const StoreError&) {
            try {
                execute("RESET default_statistics_target");
            } catch (const StoreError&) {
                // A connection that fails here fails its next use too, and says so there.
            }
        }
    }

    bool isFile() const override { return false; }
    void backupTo(const std::string&) override { throw StoreError(Failure::Other, "a server has no file to copy"); }
    bool isStoreFile(const std::string& path) const override { return path == uri_; }

private:
    std::string uri_;
    std::unique_ptr<Connection> conn_;
    Session session_{conn_->get()};
    bool reader_ = false;          // in a reader's transaction
    std::set<std::string> filled_; // tables written in bulk since the last commit
};

} // namespace

std::unique_ptr<Store> OpenPgStore(const std::string& uri, OpenMode) { return std::make_unique<PgStore>(uri); }

std::string TryPgConnect(const std::string& uri, int timeoutSeconds)
{
    const Connection c(uri, timeoutSeconds);
    return c.ok() ? std::string() : c.error();
}

} // namespace kovra::archive
