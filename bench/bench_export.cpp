// The spreadsheet export of 100,000 listings (what the listing browser's
// export and `kovra export` write).
//
// Goal: the XLSX at most 3x the CSV of the same listings ("x_csv" is its
// time as a multiple of the CSV's, measured in the same run).
#include "ListingDocument.h"
#include "ListingExport.h"
#include "ListingFileGenerator.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace {

using namespace kovra;
namespace fs = std::filesystem;

struct Loaded {
    TListingDocument data;
    std::vector<int> order;
};

const Loaded& Listings(int count)
{
    static std::map<int, std::unique_ptr<Loaded>> loaded;
    auto& l = loaded[count];
    if (!l) {
        l = std::make_unique<Loaded>();
        LoadListingBytes(l->data, bench::GenerateListingFile(count), "bench");
        l->order.resize(static_cast<std::size_t>(l->data.ListingCount));
        std::iota(l->order.begin(), l->order.end(), 0);
    }
    return *l;
}

std::string Target(const char* name)
{
    const fs::path p = fs::temp_directory_path() / name;
    const std::u8string u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

// Seconds one export takes.
double Export(const Loaded& l, search::SheetWriter write, const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    const search::ExportOutcome out = search::ExportListings(
        std::span<const TKovraDataClass>(l.data.ListingTable.data(), static_cast<std::size_t>(l.data.ListingCount)),
        l.order, write, path, {});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!out.ok)
        throw std::runtime_error(out.message);
    return took.count();
}

void BM_ExportCsv(benchmark::State& state)
{
    const Loaded& l = Listings(static_cast<int>(state.range(0)));
    const std::string path = Target("kovra_bench_export.csv");
    for (auto _ : state)
        Export(l, search::WriteCsv, path);
    state.counters["MB"] = static_cast<double>(fs::file_size(fs::path(path))) / 1e6;
    fs::remove(path);
}
BENCHMARK(BM_ExportCsv)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

#ifdef KOVRA_XLSX_EXPORT
void BM_ExportXlsx(benchmark::State& state)
{
    const Loaded& l = Listings(static_cast<int>(state.range(0)));
    const std::string csv = Target("kovra_bench_export_ref.csv");
    const std::string path = Target("kovra_bench_export.xlsx");
    double xlsx = 0, reference = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reference += Export(l, search::WriteCsv, csv);
        state.ResumeTiming();
        xlsx += Export(l, search::WriteXlsx, path);
    }
    state.counters["x_csv"] = xlsx / reference;
    state.counters["MB"] = static_cast<double>(fs::file_size(fs::path(path))) / 1e6;
    fs::remove(path);
    fs::remove(csv);
}
BENCHMARK(BM_ExportXlsx)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
#endif

} // namespace

BENCHMARK_MAIN();
