// The archive on a PostgreSQL server against the same archive in an SQLite
// file, on a server of its own on this machine (tests/servers/postgres.sh,
// durable: it waits for the disk as the file does), over files a day apart:
//   import of a 100,000-listing file: at most 2x SQLite ("x_sqlite")
//   archive changes and history over 30 daily imports of 100,000 listings:
//     at most 2x SQLite
//   copy of that 30-import archive from SQLite onto the server: the time and
//     rows per second ("rows_per_s")
#include "ArchiveBenchFiles.h"
#include "PgTestDatabase.h"

#include "Archive.h"
#include "PgStore.h"
#include "SqliteStore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace kovra;
using namespace kovra::archive;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kPrefix = "kovra_bench_server_";
fs::path Temp(const std::string& name) { return bench::TempFile(kPrefix, name); }

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The server, started at the first use and stopped at the end.
class Server {
public:
    Server()
    {
        const std::string command = "KOVRA_PG_DURABLE=1 sh " KOVRA_SOURCE_DIR "/tests/servers/postgres.sh start " +
                                    state_.string() + " >/dev/null";
        if (std::system(command.c_str()) == 0) {
            std::ifstream in(state_);
            for (std::string line; std::getline(in, line);)
                if (line.rfind("socket=", 0) == 0)
                    socket_ = line.substr(7);
        }
        if (socket_.empty())
            std::fprintf(stderr, "no PostgreSQL server: the server benchmarks cannot run\n");
    }
    ~Server()
    {
        const std::string command = "sh " KOVRA_SOURCE_DIR "/tests/servers/postgres.sh stop " + state_.string();
        std::system(command.c_str());
    }
    bool up() const { return !socket_.empty(); }
    std::unique_ptr<Archive> fresh(const std::string& name) const
    {
        std::string message;
        auto a = Archive::Open(OpenPgStore(testing::FreshPgDatabase(socket_, name), OpenMode::CreateWhenMissing), message);
        if (!a)
            std::fprintf(stderr, "%s\n", message.c_str());
        return a;
    }

private:
    fs::path state_ = Temp("postgres.state");
    std::string socket_;
};

const Server& TheServer()
{
    static const Server server;
    return server;
}

std::vector<fs::path> Days(int listings, int n) { return bench::DailyFiles(kPrefix, listings, n); }

void BM_ImportServerOverSqlite(benchmark::State& state)
{
    if (!TheServer().up())
        return state.SkipWithError("no server");
    const std::vector<fs::path> days = Days(100000, 1);
    double file = 0, server = 0;
    for (auto _ : state) {
        auto a = bench::NewFileArchive(Temp("import.sqlite"));
        auto start = Clock::now();
        const bool fileOk = a->importFile(days[0].string()).status == ImportOutcome::Status::Imported;
        file += Seconds(start);
        auto b = TheServer().fresh("bench_import");
        start = Clock::now();
        const ImportOutcome r = b->importFile(days[0].string());
        server += Seconds(start);
        if (!fileOk || r.status != ImportOutcome::Status::Imported)
            state.SkipWithError(r.message.c_str());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["sqlite_ms"] = file * 1000 / n;
    state.counters["server_ms"] = server * 1000 / n;
    state.counters["x_sqlite"] = server / file;
}
BENCHMARK(BM_ImportServerOverSqlite)->Unit(benchmark::kMillisecond)->Iterations(2);

// 30 daily imports of 100,000 listings in a file, and its copy on the
// server (the copy timed once).
struct Thirty {
    std::unique_ptr<Archive> file, server;
    double copySeconds = 0;
    CopyOutcome copied;
};
Thirty& ThirtyDays()
{
    static Thirty t = [] {
        Thirty made;
        made.file = bench::NewFileArchive(Temp("thirty.sqlite"));
        for (const fs::path& f : Days(100000, 30))
            made.file->importFile(f.string());
        made.server = TheServer().fresh("bench_thirty");
        const auto start = Clock::now();
        made.copied = made.file->copyInto(*made.server);
        made.copySeconds = Seconds(start);
        return made;
    }();
    return t;
}

void BM_CopySqliteOntoServer(benchmark::State& state)
{
    if (!TheServer().up())
        return state.SkipWithError("no server");
    for (auto _ : state)
        benchmark::DoNotOptimize(ThirtyDays().copied.rows);
    const Thirty& t = ThirtyDays();
    if (!t.copied.ok)
        return state.SkipWithError(t.copied.message.c_str());
    state.counters["imports"] = t.copied.imports;
    state.counters["rows"] = static_cast<double>(t.copied.rows);
    state.counters["copy_s"] = t.copySeconds;
    state.counters["rows_per_s"] = static_cast<double>(t.copied.rows) / t.copySeconds;
}
BENCHMARK(BM_CopySqliteOntoServer)->Unit(benchmark::kMillisecond)->Iterations(1);

// Runs `query` on both archives `rounds` times; the server's time over the file's.
template <class Query>
void Compare(benchmark::State& state, Query query)
{
    if (!TheServer().up())
        return state.SkipWithError("no server");
    Thirty& t = ThirtyDays();
    // Once untimed on each: a connection prepares a query the first times it
    // runs it, and a window asks again and again on the one connection.
    query(*t.file);
    query(*t.server);
    double file = 0, server = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        query(*t.file);
        file += Seconds(start);
        start = Clock::now();
        query(*t.server);
        server += Seconds(start);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["sqlite_ms"] = file * 1000 / n;
    state.counters["server_ms"] = server * 1000 / n;
    state.counters["x_sqlite"] = server / file;
}

void BM_ChangesServerOverSqlite(benchmark::State& state)
{
    Compare(state, [](Archive& a) { benchmark::DoNotOptimize(a.changes(std::nullopt, std::nullopt).value->findings.size()); });
}
BENCHMARK(BM_ChangesServerOverSqlite)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HistoryServerOverSqlite(benchmark::State& state)
{
    // A listing whose price changed along the way, and one that never did.
    Compare(state, [](Archive& a) {
        benchmark::DoNotOptimize(a.history("21000042").value->changes.size());
        benchmark::DoNotOptimize(a.history("21099999").value->appearances);
    });
}
BENCHMARK(BM_HistoryServerOverSqlite)->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace

BENCHMARK_MAIN();
