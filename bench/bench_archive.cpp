// The archive's goals, over files a day apart (1% changed, 0.5% new, 0.5%
// gone), in SQLite files in the temporary folder:
//   import of a 100,000-listing file: the first at most 3x `kovra info` of
//     it, the next day's at most 2x ("x_info"); peak memory at most 2x the
//     file ("peak_x_file": the growth of the resident set while importing)
//   archive changes between two 100,000-listing imports: at most 0.5 s
//   archive history after 30 daily imports of 100,000 listings: at most 20 ms
//   size after 30 daily imports of a 10,000-listing file: at most 3x one file
//     ("x_file")
#include "ArchiveBenchFiles.h"

#include "Archive.h"
#include "ListingDocument.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace kovra;
using namespace kovra::archive;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kPrefix = "kovra_bench_archive_";
fs::path Temp(const std::string& name) { return bench::TempFile(kPrefix, name); }
std::vector<fs::path> Days(int listings, int n) { return bench::DailyFiles(kPrefix, listings, n); }
using bench::RemoveArchive;

// A size line of /proc/self/status in bytes: "VmHWM:" the resident set's
// high-water mark (reset by ResetPeak), "VmRSS:" the resident set (Linux).
long long StatusBytes(std::string_view key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key))
            return std::stoll(line.substr(key.size())) * 1024;
    return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double InfoSeconds(const fs::path& file)
{
    const auto start = Clock::now();
    TListingDocument data;
    LoadListingFile(data, file.string());
    benchmark::DoNotOptimize(data.ListingCount);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// range(0): 0 the first import, 1 the next day's onto it.
void BM_ImportOverInfo(benchmark::State& state)
{
    const std::vector<fs::path> days = Days(100000, 2);
    const bool nextDay = state.range(0) == 1;
    const fs::path store = Temp("import.sqlite");
    double importSeconds = 0, infoSeconds = 0;
    long long peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto a = bench::NewFileArchive(store);
        if (nextDay)
            a->importFile(days[0].string());
        infoSeconds += InfoSeconds(days[nextDay ? 1 : 0]);
        const long long before = StatusBytes("VmRSS:");
        ResetPeak();
        state.ResumeTiming();
        const auto start = Clock::now();
        const ImportOutcome r = a->importFile(days[nextDay ? 1 : 0].string());
        importSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        peak = std::max(peak, StatusBytes("VmHWM:") - before);
        if (r.status != ImportOutcome::Status::Imported)
            state.SkipWithError(r.message.c_str());
    }
    RemoveArchive(store);
    const double n = static_cast<double>(state.iterations());
    state.counters["import_ms"] = importSeconds * 1000 / n;
    state.counters["info_ms"] = infoSeconds * 1000 / n;
    state.counters["x_info"] = importSeconds / infoSeconds;
    state.counters["peak_x_file"] = static_cast<double>(peak) / static_cast<double>(fs::file_size(days[0]));
}
BENCHMARK(BM_ImportOverInfo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// 30 daily imports of 100,000 listings, made once for the two queries.
Archive& ThirtyDays()
{
    static std::unique_ptr<Archive> a = [] {
        auto made = bench::NewFileArchive(Temp("thirty.sqlite"));
        for (const fs::path& f : Days(100000, 30))
            made->importFile(f.string());
        return made;
    }();
    return *a;
}

void BM_ArchiveChanges(benchmark::State& state)
{
    Archive& a = ThirtyDays();
    std::size_t findings = 0;
    for (auto _ : state)
        findings = a.changes(std::nullopt, std::nullopt).value->findings.size();
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_ArchiveChanges)->Unit(benchmark::kMillisecond);

void BM_ArchiveHistory(benchmark::State& state)
{
    Archive& a = ThirtyDays();
    // A listing whose price changed along the way, and one that never did.
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = a.history("21000042").value->changes.size();
        benchmark::DoNotOptimize(a.history("21099999").value->appearances);
    }
    state.counters["changes"] = static_cast<double>(lines);
}
BENCHMARK(BM_ArchiveHistory)->Unit(benchmark::kMillisecond);

void BM_SizeAfterThirtyDays(benchmark::State& state)
{
    const std::vector<fs::path> days = Days(10000, 30);
    const fs::path store = Temp("size.sqlite");
    double size = 0;
    for (auto _ : state) {
        {
            auto a = bench::NewFileArchive(store);
            for (const fs::path& f : days)
                a->importFile(f.string());
        } // closed: the journal is folded into the file
        size = static_cast<double>(fs::file_size(store));
    }
    RemoveArchive(store);
    state.counters["archive_MB"] = size / 1e6;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(days[0])) / 1e6;
    state.counters["x_file"] = size / static_cast<double>(fs::file_size(days[0]));
}
BENCHMARK(BM_SizeAfterThirtyDays)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
