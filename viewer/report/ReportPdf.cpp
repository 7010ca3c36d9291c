#include "ReportPdf.h"

#include "FileIO.h"
#include "RenderJob.h"

#include <filesystem>
#include <random>

namespace kovra {

ReportPdfOutcome WriteReportPdf(const TListingDocument& listings, ReportRequest request, const std::string& pdf,
                                const std::function<void(const ReportOutcome&)>& beforeRendering)
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
    data.path = fs::temp_directory_path(ec) / ("kovra-report-" + std::to_string(std::random_device{}()) + ".tmp");
    request.dataFile = fileio::Utf8FromPath(data.path);

    ReportPdfOutcome outcome;
    const ReportJobOutcome job = RunReportJob(listings, request, [&](const ReportOutcome& written) {
        if (beforeRendering)
            beforeRendering(written);
        dorvex::RenderOptions options;
        options.paperCode = kReportPaperA4;
        return dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &outcome.sheets);
    });
    outcome.written = job.written;
    outcome.rendered = job.printed;
    return outcome;
}

} // namespace kovra
