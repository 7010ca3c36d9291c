// Loading and decoding big export files, against a floor that only reads
// the file, converts it with the C library's iconv and splits every field.
//
// Goals: load+decode within 1.5x the floor; peak memory at most 3x the
// file size, memory kept after the load at most 2x.  The counters
// "peak_x" and "kept_x" are multiples of the file size.
#include "ListingFileGenerator.h"
#include "ListingTable.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#ifdef __linux__
#include <iconv.h>
#endif

namespace {

namespace fs = std::filesystem;

// Generated once per size and kept in the temporary folder between runs.
const std::string& BenchFile(int listings)
{
    static std::map<int, std::string> paths;
    auto& path = paths[listings];
    if (path.empty()) {
        path = (fs::temp_directory_path() / ("kovra_bench_" + std::to_string(listings) + ".txt")).string();
        if (!fs::exists(path)) {
            const std::string bytes = kovra::bench::GenerateListingFile(listings);
            std::ofstream(path, std::ios::binary) << bytes;
        }
    }
    return path;
}

#ifdef __linux__
// Resident and peak memory of this process in bytes (Linux only).
long long StatusValue(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(std::string(key).size())) * 1024;
    return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
#else
long long StatusValue(const char*) { return 0; }
void ResetPeak() {}
#endif

void BM_LoadAndDecode(benchmark::State& state)
{
    const std::string& path = BenchFile(static_cast<int>(state.range(0)));
    const double fileSize = static_cast<double>(fs::file_size(path));
    double peak = 0, kept = 0;
    for (auto _ : state) {
        kovra::ListingData data;
        ResetPeak();
        const long long base = StatusValue("VmRSS:");
        const auto outcome = kovra::LoadListingFile(data, path);
        if (!outcome.ok())
            state.SkipWithError("load failed");
        peak = static_cast<double>(StatusValue("VmHWM:") - base);
        kept = static_cast<double>(StatusValue("VmRSS:") - base);
        benchmark::DoNotOptimize(data.ListingCount);
    }
    state.counters["listings/s"] = benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    state.counters["peak_x"] = peak / fileSize;
    state.counters["kept_x"] = kept / fileSize;
    state.counters["file_MB"] = fileSize / 1e6;
}

#ifdef __linux__
void BM_FloorReadIconvSplit(benchmark::State& state)
{
    const std::string& path = BenchFile(static_cast<int>(state.range(0)));
    std::vector<std::string_view> fields;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        iconv_t cd = iconv_open("UTF-8", "CP932");
        std::string utf8(bytes.size() * 2 + 16, '\0');
        char* src = bytes.data();
        std::size_t srcLeft = bytes.size();
        char* dst = utf8.data();
        std::size_t dstLeft = utf8.size();
        iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        iconv_close(cd);
        utf8.resize(utf8.size() - dstLeft);
        std::size_t count = 0, pos = 0;
        while (pos < utf8.size()) {
            std::size_t end = utf8.find('\n', pos);
            if (end == std::string::npos)
                end = utf8.size();
            std::string_view line(utf8.data() + pos, end - pos);
            fields.clear();
            std::size_t from = 0;
            for (std::size_t comma; (comma = line.find(',', from)) != std::string_view::npos; from = comma + 1)
                fields.push_back(line.substr(from, comma - from));
            fields.push_back(line.substr(from));
            count += fields.size();
            pos = end + 1;
        }
        benchmark::DoNotOptimize(count);
    }
    state.counters["listings/s"] = benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FloorReadIconvSplit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
#endif

BENCHMARK(BM_LoadAndDecode)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
