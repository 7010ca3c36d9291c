// kovra report FILE OUT [--all | --listing N] [--no-member-print]
// kovra report FILE --pdf OUT.pdf [--all | --listing N]
// Writes the report's print data file as the viewer's report does, or
// renders the report with "KvReport.FOM" through the print job onto a PDF.
#include "Json.h"
#include "ListingInput.h"
#include "Output.h"
#include "PrintEngineCli.h"
#include "PrintJobs.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "ListingDocument.h"
#include "RenderJob.h"
#include "ReportLayout.h"
#include "UserSettings.h"

#include <filesystem>
#include <random>

namespace kovra::cli {

bool RunReport(const ReportJob& job)
{
    const std::string& pdf = job.pdf;
    const std::string& target = pdf.empty() ? job.out : pdf;
    if (fileio::SameFile(job.file, target)) {
        PrintLine(stderr, msg::OutputIsInput(target));
        return false;
    }

    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    const int listing = job.listing.value_or(1);
    if (!job.all && (listing < 1 || listing > data.ListingCount)) {
        PrintLine(stderr, "kovra: listing " + std::to_string(listing) + " is not in the file (1.." +
                              std::to_string(data.ListingCount) + ")");
        return false;
    }

    const services::TUserSettings settings = services::ReadUserSettings();
    ReportRequest request;
    request.allListings = job.all;
    request.shownListingNumber = listing;
    request.memberPrintOk = settings.MemberPrintOk && !job.noMemberPrint;
    request.profile = services::UserProfileTexts(settings);

    namespace fs = std::filesystem;
    // The PDF's data file lives only while the PDF is made: removed on every
    // way out, a failed one included.
    struct TempFile {
        fs::path path;
        ~TempFile()
        {
            std::error_code ec;
            if (!path.empty())
                fs::remove(path, ec);
        }
    } tempData;
    if (!pdf.empty()) {
        std::error_code ec;
        tempData.path = fs::temp_directory_path(ec) / ("kovra-report-" + std::to_string(std::random_device{}()) + ".tmp");
        request.dataFile = fileio::Utf8FromPath(tempData.path);
    } else {
        request.dataFile = job.out;
    }
    const ReportOutcome written = WriteReport(data, request);
    if (!written.written) {
        PrintLine(stderr, written.message);
        return false;
    }
    if (written.unmappable)
        PrintLine(stderr, "kovra: " + std::to_string(written.unmappable) + " characters the code page lacks were written as \"?\"");
    if (pdf.empty())
        return true;

    KeepHeapSlackForPdf();
    auto app = StartPrintEngineGui();
    dorvex::RenderOptions options;
    options.paperCode = kReportPaperA4;
    int sheets = 0;
    const bool ok = dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &sheets);
    if (!ok)
        return false;
    std::string json = "{\"pdf\": ";
    AppendJsonString(json, pdf);
    json += ", \"sheets\": " + std::to_string(sheets) + "}";
    PrintLine(stdout, json);
    return true;
}

} // namespace kovra::cli
