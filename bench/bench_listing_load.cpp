// Loading and decoding big export files, against a floor that only reads
// the file, converts it with the C library's iconv and splits every field.
//
// Goals: load+decode within 1.5x the floor; peak memory at most 3x the
// file size, memory kept after the load at most 2x.  The counters
// "peak_x" and "kept_x" are multiples of the file size.
//
// Also: a file that is one line without a line end loads in time linear in
// its size (compare "ms_per_MB" of the sizes), and the stripped save of a
// line of commas peaks at most at 3x the file size + 64 MiB ("peak_MB"
// against "goal_MB").
#include "ListingFileGenerator.h"
#include "ListingDocument.h"
#include "MemberStrip.h"

#include <benchmark/benchmark.h>

#include <chrono>
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
        kovra::TListingDocument data;
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

// A file of `mb` megabytes: one line of `fill` after `first`, no line end.
const std::string& OneLineFile(int mb, char first, char fill)
{
    static std::map<std::string, std::string> paths;
    const std::string key = std::to_string(mb) + first + fill;
    auto& path = paths[key];
    if (path.empty()) {
        path = (fs::temp_directory_path() / ("kovra_bench_line_" + std::to_string(mb) + "_" + std::to_string(int(fill)) + ".txt")).string();
        if (!fs::exists(path)) {
            std::ofstream out(path, std::ios::binary);
            out.put(first);
            const std::string block(1 << 20, fill);
            for (int i = 0; i < mb; ++i)
                out.write(block.data(), static_cast<std::streamsize>(i == 0 ? block.size() - 1 : block.size()));
        }
    }
    return path;
}

void BM_LoadLineWithoutEnd(benchmark::State& state)
{
    const int mb = static_cast<int>(state.range(0));
    const std::string& path = OneLineFile(mb, 'x', 'x');
    double ms = 0;
    for (auto _ : state) {
        kovra::TListingDocument data;
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(kovra::LoadListingFile(data, path).status);
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["ms_per_MB"] = ms / static_cast<double>(state.iterations()) / mb;
}
BENCHMARK(BM_LoadLineWithoutEnd)->Arg(64)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_StripCommaLine(benchmark::State& state)
{
    const int mb = static_cast<int>(state.range(0));
    const std::string& path = OneLineFile(mb, '1', ',');
    const std::string out = path + ".kvd";
    double peak = 0;
    for (auto _ : state) {
        ResetPeak();
        const long long base = StatusValue("VmRSS:");
        if (!kovra::SaveMemberStripped(path, out).ok)
            state.SkipWithError("strip failed");
        peak = static_cast<double>(StatusValue("VmHWM:") - base);
    }
    fs::remove(out);
    state.counters["peak_MB"] = peak / (1 << 20);
    state.counters["goal_MB"] = 3.0 * mb + 64;
}
BENCHMARK(BM_StripCommaLine)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK(BM_LoadAndDecode)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
