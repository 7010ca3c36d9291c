// The HTML export of a full table: 1,001 listings, the full FieldList (all
// 104 placeholders) and a template that uses every one of them, written to
// a folder on disk.  Goal: at most 1 s for the whole run.
//
// The check that no page of a run is one of its inputs, which the viewer
// makes before it starts the run: 100,000 pages into an empty folder and
// into one that holds them all.  Goal: at most 100 ms for the empty folder
// (the usual case; it runs while the setup dialog is closing).
#include "HtmlExport.h"
#include "ListingFileGenerator.h"
#include "ListingDocument.h"

#include "Cp932Codec.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#ifdef __linux__
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& p)
{
    const auto u = p.u8string();
    return std::string(u.begin(), u.end());
}

// A Shift-JIS page of about 9 KB: each placeholder in a table row with a
// Japanese caption, the links at the foot, and some fixed text.
std::string MakeTemplate()
{
    std::string t = "<!DOCTYPE html>\r\n<html lang=\"ja\"><head><meta charset=\"Shift_JIS\"><title>/*BukkennSyumoku*/</title>"
                    "<style>body{font-family:sans-serif}th{background:#eee}</style></head><body>\r\n"
                    "<h1>物件情報 /*BukkennNum*/</h1>\r\n<table>\r\n";
    for (const std::string& token : kovra::html::AllPlaceholders())
        t += "<tr><th>項目</th><td>" + token + "</td></tr>\r\n";
    t += "</table>\r\n<p>現況と異なる場合は現況を優先します。掲載情報の無断転載を禁じます。</p>\r\n"
         "<a href=\"/*BackFileName*/\">前へ</a> <a href=\"/*NextFileName*/\">次へ</a>\r\n</body></html>\r\n";
    return cp932::fromUtf8(t);
}

// state.range(0): 1 = the folder holds the pages of the previous round
// (a re-export: every page replaces an existing one), 0 = an empty folder.
void BM_HtmlExport1001(benchmark::State& state)
{
    const bool overExisting = state.range(0) != 0;
    kovra::TListingDocument data;
    const std::string file = kovra::bench::GenerateListingFile(1001);
    if (!kovra::LoadListingBytes(data, file, "bench.txt").ok() || data.ListingCount != 1001) {
        state.SkipWithError("listing file did not load");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "kovra_bench_html";
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    std::ofstream(dir / "t.html", std::ios::binary) << MakeTemplate();
    {
        std::ofstream fl(dir / "FieldList", std::ios::binary);
        for (const std::string& token : kovra::html::AllPlaceholders())
            fl << token << "\r\n";
    }
    kovra::html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = data.ListingCount;
    job.kensakuNengappi = data.KensakuNengappi;
    job.user = {"見本不動産株式会社", "100-0001", "東京都千代田区見本1-2-3", "03-0000-1111", "03-0000-2222",
                "info@example.jp", "https://example.jp/"};
    job.templatePath = Utf8(dir / "t.html");
    job.fieldListPath = Utf8(dir / "FieldList");
    job.outDir = Utf8(dir / "out");

    std::size_t bytes = 0;
    if (overExisting)
        kovra::html::ExportPages(job, {});
    for (auto _ : state) {
        state.PauseTiming();
        if (!overExisting) {
            fs::remove_all(dir / "out");
            fs::create_directories(dir / "out");
        }
#ifdef __linux__
        // The pages of the previous round on disk, as they are when a user
        // exports again: not still being written back by the kernel.
        ::sync();
#endif
        state.ResumeTiming();
        // No hooks: existing pages are overwritten without a question.
        const kovra::html::ExportResult r = kovra::html::ExportPages(job, {});
        if (!r.ok() || r.written != 1001) {
            state.SkipWithError("export failed");
            break;
        }
    }
    for (const auto& e : fs::directory_iterator(dir / "out"))
        bytes += static_cast<std::size_t>(e.file_size());
    state.counters["page_kb"] = static_cast<double>(bytes) / 1001.0 / 1024.0;
    fs::remove_all(dir);
}
BENCHMARK(BM_HtmlExport1001)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_PageCheck(benchmark::State& state)
{
    const bool pagesThere = state.range(0) != 0;
    static kovra::TListingDocument data;
    if (data.ListingCount == 0 && !kovra::LoadListingBytes(data, kovra::bench::GenerateListingFile(100000), "b").ok()) {
        state.SkipWithError("listing file did not load");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "kovra_bench_page_check";
    fs::remove_all(dir);
    fs::create_directories(dir / "out");
    std::ofstream(dir / "t.html", std::ios::binary) << "<p>/*BukkennNum*/</p>";
    std::ofstream(dir / "FieldList", std::ios::binary) << "/*BukkennNum*/\r\n";
    kovra::html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = data.ListingCount;
    job.templatePath = Utf8(dir / "t.html");
    job.fieldListPath = Utf8(dir / "FieldList");
    job.outDir = Utf8(dir / "out");
    if (pagesThere)
        for (int i = 0; i < data.ListingCount; ++i)
            std::ofstream(fs::path(kovra::html::PagePath(job.outDir, data.ListingTable[static_cast<std::size_t>(i)].BukkennNum())));
    for (auto _ : state)
        if (kovra::html::PageOverInput(job))
            state.SkipWithError("a page is an input");
    fs::remove_all(dir);
}
BENCHMARK(BM_PageCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
