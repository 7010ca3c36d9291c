// kovra report FILE OUT [--all | --listing N] [--no-member-print]
// kovra report FILE --pdf OUT.pdf [--all | --listing N]
// Writes the report's print data file as the viewer's report does, or
// renders the report with "KvReport.FOM" through the print job onto a PDF.
#include "Commands.h"
#include "Json.h"
#include "PrintEngineCli.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "ListingTable.h"
#include "RenderJob.h"
#include "ReportLayout.h"
#include "UserSettings.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>

namespace kovra::cli {

namespace {

void PrintLine(std::FILE* to, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), to);
    std::fputc('\n', to);
}

} // namespace

int RunReport(const Args& args)
{
    if (args.size() < 2)
        return UsageError("report");
    const std::string& file = args[0];
    std::string out, pdf;
    bool all = false, listingGiven = false, noMemberPrint = false;
    int listing = 1;
    std::size_t i = 1;
    if (args[1] == "--pdf") {
        if (args.size() < 3)
            return UsageError("report");
        pdf = args[2];
        i = 3;
    } else {
        out = args[1];
        i = 2;
    }
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--all" && !listingGiven) {
            all = true;
        } else if (a == "--listing" && !all && i + 1 < args.size()) {
            const std::string& v = args[++i];
            auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), listing);
            if (ec != std::errc() || p != v.data() + v.size())
                return UsageError("report");
            listingGiven = true;
        } else if (a == "--no-member-print" && pdf.empty()) {
            noMemberPrint = true;
        } else {
            return UsageError("report");
        }
    }

    const std::string& target = pdf.empty() ? out : pdf;
    if (fileio::SameFile(file, target)) {
        PrintLine(stderr, msg::OutputIsInput(target));
        return kExitFailed;
    }

    ListingData data;
    data.CurrentFileName = file;
    const LoadOutcome loaded = LoadListingFile(data, file);
    if (!loaded.ok()) {
        PrintLine(stderr, loaded.message);
        return kExitFailed;
    }
    if (!all && (listing < 1 || listing > data.ListingCount)) {
        PrintLine(stderr, "kovra: listing " + std::to_string(listing) + " is not in the file (1.." +
                              std::to_string(data.ListingCount) + ")");
        return kExitFailed;
    }

    const services::TUserSettings settings = services::ReadUserSettings();
    ReportRequest request;
    request.allListings = all;
    request.shownListingNumber = listing;
    request.memberPrintOk = settings.MemberPrintOk && !noMemberPrint;
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
        request.dataFile = out;
    }
    const ReportOutcome written = WriteReport(data, request);
    if (!written.written) {
        PrintLine(stderr, written.message);
        return kExitFailed;
    }
    if (written.unmappable)
        PrintLine(stderr, "kovra: " + std::to_string(written.unmappable) + " characters the code page lacks were written as \"?\"");
    if (pdf.empty())
        return kExitOk;

    KeepHeapSlackForPdf();
    auto app = StartPrintEngineGui();
    dorvex::RenderOptions options;
    options.paperCode = kReportPaperA4;
    int sheets = 0;
    const bool ok = dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &sheets);
    if (!ok)
        return kExitFailed;
    std::string json = "{\"pdf\": ";
    AppendJsonString(json, pdf);
    json += ", \"sheets\": " + std::to_string(sheets) + "}";
    PrintLine(stdout, json);
    return kExitOk;
}

} // namespace kovra::cli
