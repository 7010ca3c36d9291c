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
#include "ReportPdf.h"
#include "UserSettings.h"

#include <memory>

namespace kovra::cli {

namespace {

void SayUnmappable(const ReportOutcome& written)
{
    if (written.unmappable)
        PrintLine(stderr, "kovra: " + std::to_string(written.unmappable) + " characters the code page lacks were written as \"?\"");
}

} // namespace

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

    if (pdf.empty()) {
        request.dataFile = job.out;
        const ReportOutcome written = WriteReport(data, request);
        if (!written.written) {
            PrintLine(stderr, written.message);
            return false;
        }
        SayUnmappable(written);
        return true;
    }

    std::unique_ptr<QGuiApplication> app;
    const ReportPdfOutcome made = WriteReportPdf(data, request, pdf, [&app](const ReportOutcome& written) {
        SayUnmappable(written);
        KeepHeapSlackForPdf();
        app = StartPrintEngineGui();
    });
    if (!made.written.written) {
        PrintLine(stderr, made.written.message);
        return false;
    }
    if (!made.rendered)
        return false;
    std::string json = "{\"pdf\": ";
    AppendJsonString(json, pdf);
    json += ", \"sheets\": " + std::to_string(made.sheets) + "}";
    PrintLine(stdout, json);
    return true;
}

} // namespace kovra::cli
