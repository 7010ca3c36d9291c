// The report of a full table: 1,001 listings written as the report's print
// data file and printed with the shipped form "KvReport.FOM" onto a PDF, the
// way `kovra report FILE --pdf OUT --all` does.  Goal: at most 3 s a run.
#include "BenchPrompter.h"
#include "ListingFileGenerator.h"
#include "ListingDocument.h"
#include "Messages.h"
#include "NoDisplay.h"
#include "RenderJob.h"
#include "ReportLayout.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& p)
{
    const auto u = p.u8string();
    return std::string(u.begin(), u.end());
}

// The form as shipped: the data folder of the source tree, which the build
// copies beside the program unchanged.
fs::path ShippedFormFolder()
{
    return fs::path(__FILE__).parent_path().parent_path() / "data";
}

void BM_Report1001ToPdf(benchmark::State& state)
{
    kovra::TListingDocument data;
    const std::string file = kovra::bench::GenerateListingFile(1001);
    if (!kovra::LoadListingBytes(data, file, "bench.txt").ok() || data.ListingCount != 1001) {
        state.SkipWithError("listing file did not load");
        return;
    }
    const fs::path formFolder = ShippedFormFolder();
    if (!fs::exists(formFolder / kovra::kReportFormatFile)) {
        state.SkipWithError("KvReport.FOM not found beside the sources");
        return;
    }
    const fs::path dir = fs::temp_directory_path() / "kovra_bench_report";
    fs::remove_all(dir);
    fs::create_directories(dir);

    kovra::ReportRequest request;
    request.allListings = true;
    request.memberPrintOk = true;
    request.profile = {"株式会社みどり台不動産　新横浜店", "222-0033", "神奈川県見本市港北区新横浜二丁目１５番１０号",
                       "045-000-1234", "045-000-1235", "info@midoridai.example.jp"};
    request.formatFile = Utf8(formFolder / "KvReport.FOM");
    request.dataFile = Utf8(dir / "KvReport.tmp");
    const std::string pdf = Utf8(dir / "report.pdf");

    kovra::bench::BenchPrompter prompter; // no message box may stop the run
    int sheets = 0;
    for (auto _ : state) {
        const kovra::ReportOutcome written = kovra::WriteReport(data, request);
        if (!written.written || written.pages != 1001) {
            state.SkipWithError("the report's data file was not written");
            break;
        }
        dorvex::RenderOptions options;
        options.paperCode = kovra::kReportPaperA4;
        if (!dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &sheets) || sheets != 1001) {
            state.SkipWithError("the PDF was not written with one sheet per listing");
            break;
        }
    }
    if (prompter.said > 0)
        state.SkipWithError("the engine reported a message");
    std::error_code ec;
    state.counters["sheets"] = sheets;
    state.counters["pdf_MB"] = double(fs::file_size(pdf, ec)) / (1024.0 * 1024.0);
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_Report1001ToPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    // The engine draws with Qt's fonts and painter: a GUI application is
    // needed, offscreen when there is no display.
    kovra::UseOffscreenWithoutDisplay();
    int qtArgc = 1;
    char name[] = "bench_report";
    char* qtArgv[] = {name, nullptr};
    auto app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
