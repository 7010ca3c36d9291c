// What changed between two 100,000-listing files a day apart (1% changed,
// 0.5% new, 0.5% gone).  Goal: what `kovra changes OLD NEW` does (load both,
// compare, write the lines) at most 2.5x what `kovra info` does (load one):
// BM_ChangesOverInfo's "x_info".
#include "ListingFileGenerator.h"

#include "ListingChanges.h"
#include "ListingDocument.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using namespace kovra;
namespace fs = std::filesystem;

void Write(const fs::path& p, const std::string& bytes)
{
    std::FILE* f = std::fopen(p.string().c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void BM_ChangesOverInfo(benchmark::State& state)
{
    const fs::path day1 = fs::temp_directory_path() / "kovra_bench_day1.txt";
    const fs::path day2 = fs::temp_directory_path() / "kovra_bench_day2.txt";
    {
        const std::string first = bench::GenerateListingFile(100000);
        Write(day1, first);
        Write(day2, bench::GenerateNextDay(first));
    }
    using Clock = std::chrono::steady_clock;
    double infoSeconds = 0, changesSeconds = 0;
    std::size_t findings = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            TListingDocument data;
            LoadListingFile(data, day1.string());
            benchmark::DoNotOptimize(data.ListingCount);
        }
        const auto loaded = Clock::now();
        {
            TListingDocument before, after;
            LoadListingFile(before, day1.string());
            LoadListingFile(after, day2.string());
            const changes::Comparison c = changes::Compare(before, after);
            findings = c.findings.size();
        }
        const auto compared = Clock::now();
        infoSeconds += std::chrono::duration<double>(loaded - start).count();
        changesSeconds += std::chrono::duration<double>(compared - loaded).count();
        state.SetIterationTime(std::chrono::duration<double>(compared - start).count());
    }
    fs::remove(day1);
    fs::remove(day2);
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["info_ms"] = infoSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["changes_ms"] = changesSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["x_info"] = changesSeconds / infoSeconds;
}
BENCHMARK(BM_ChangesOverInfo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The comparison alone, both files loaded.
void BM_CompareLoaded(benchmark::State& state)
{
    const std::string first = bench::GenerateListingFile(100000);
    TListingDocument before, after;
    LoadListingBytes(before, first, "day1");
    LoadListingBytes(after, bench::GenerateNextDay(first), "day2");
    for (auto _ : state)
        benchmark::DoNotOptimize(changes::Compare(before, after).findings.size());
}
BENCHMARK(BM_CompareLoaded)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
