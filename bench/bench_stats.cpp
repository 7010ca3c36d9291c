// Market figures over 100,000 listings.
//
// Goals: `kovra stats FILE マンション --by BukkennSyumoku` at most 1.3x
// `kovra find FILE マンション` (BM_StatsOverFind's "x_find": both load the
// file from disk, build the index and search; stats then computes the
// figures).  The market panel computes its figures on the search worker
// for a found set of 100,000 (BM_FiguresOfFoundSet: "cold" makes the value
// columns first, as the first search after a load does; "warm" is every
// later keystroke), and the comparison sheet reads its markets from such a
// set (BM_CompareSheet).
#include "CompareSheet.h"
#include "ListingDocument.h"
#include "ListingFileGenerator.h"
#include "MarketFigures.h"
#include "SearchIndex.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numeric>

namespace {

using namespace kovra;
using namespace kovra::search;

constexpr int kListings = 100000;

const TListingDocument& GeneratedDocument()
{
    static const std::unique_ptr<TListingDocument> data = [] {
        auto d = std::make_unique<TListingDocument>();
        LoadListingBytes(*d, bench::GenerateListingFile(kListings), "bench");
        return d;
    }();
    return *data;
}

MarketRequest ByItem(bool separate)
{
    MarketRequest request;
    request.groupField = static_cast<int>(Field::BukkennSyumoku);
    request.separateSaleAndRent = separate;
    return request;
}

void BM_StatsOverFind(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path file = fs::temp_directory_path() / "kovra_bench_stats.txt";
    {
        const std::string bytes = bench::GenerateListingFile(kListings);
        std::FILE* f = std::fopen(file.string().c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const Query query(QueryDescription{.text = "マンション"});
    using Clock = std::chrono::steady_clock;
    double findSeconds = 0, statsSeconds = 0;
    std::size_t groups = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            TListingDocument data;
            LoadListingFile(data, file.string());
            const SearchIndex index(data);
            benchmark::DoNotOptimize(index.run(query).size());
        }
        const auto found = Clock::now();
        {
            TListingDocument data;
            LoadListingFile(data, file.string());
            const SearchIndex index(data);
            groups = ComputeMarketFigures(data, index, index.run(query), ByItem(false)).groups.size();
        }
        const auto counted = Clock::now();
        findSeconds += std::chrono::duration<double>(found - start).count();
        statsSeconds += std::chrono::duration<double>(counted - found).count();
        state.SetIterationTime(std::chrono::duration<double>(counted - start).count());
    }
    fs::remove(file);
    state.counters["groups"] = static_cast<double>(groups);
    state.counters["find_ms"] = findSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["stats_ms"] = statsSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["x_find"] = statsSeconds / findSeconds;
}
BENCHMARK(BM_StatsOverFind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FiguresOfFoundSet(benchmark::State& state)
{
    const bool cold = state.range(0) != 0;
    const TListingDocument& data = GeneratedDocument();
    std::vector<int> all(static_cast<std::size_t>(data.ListingCount));
    std::iota(all.begin(), all.end(), 0);
    std::unique_ptr<SearchIndex> index = std::make_unique<SearchIndex>(data);
    ComputeMarketFigures(data, *index, all, ByItem(true)); // the columns, for the warm runs
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            index = std::make_unique<SearchIndex>(data);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(ComputeMarketFigures(data, *index, all, ByItem(true)).groups.size());
    }
    state.SetLabel(cold ? "cold" : "warm");
}
BENCHMARK(BM_FiguresOfFoundSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CompareSheet(benchmark::State& state)
{
    const TListingDocument& data = GeneratedDocument();
    const SearchIndex index(data);
    std::vector<int> all(static_cast<std::size_t>(data.ListingCount));
    std::iota(all.begin(), all.end(), 0);
    const std::vector<int> chosen{0, 1, 2, 3, 4, 5, 6, 7};
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeCompareSheet(data, index, all, chosen, DefaultCompareRows()).rows.size());
}
BENCHMARK(BM_CompareSheet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
