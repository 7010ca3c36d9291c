#include "ReportPdf.h"

#include "FileIO.h"

#include <filesystem>
#include <random>

namespace kovra {

ReportPdfOutcome WritePrintDataPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write,
                                   const std::string& pdf, const dorvex::RenderOptions& options,
                                   const std::function<bool(const ReportOutcome&)>& beforeRendering)
{
    namespace fs = std::filesystem;
    // The data file lives only while the PDF is made.
    struct TempFile {
        fs::path path;
        ~TempFile()
        {
            std::error_code ec;
            if (!path.empty())
                fs::remove(path, ec);
        }
    } data;
    std::error_code ec;
    data.path = fs::temp_directory_path(ec) / ("kovra-print-" + std::to_string(std::random_device{}()) + ".tmp");
    const std::string dataFile = fileio::Utf8FromPath(data.path);

    ReportPdfOutcome outcome;
    const ReportJobOutcome job = RunReportJob([&] { return write(dataFile); }, [&](const ReportOutcome& written) {
        if (beforeRendering && !beforeRendering(written))
            return false;
        return dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &outcome.sheets);
    });
    outcome.written = job.written;
    outcome.rendered = job.printed;
    return outcome;
}

} // namespace kovra
