// kovra report FILE OUT [--all | --listing N] [--no-member-print]
// kovra report FILE --pdf OUT.pdf [--all | --listing N]
// Writes the report's print data file as the viewer's report does, or
// renders the report with "KvReport.FOM" through the print job onto a PDF.
#include "ListingInput.h"
#include "Output.h"
#include "PrintEngineCli.h"
#include "PrintJobs.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "ListingDocument.h"
#include "ReportLayout.h"
#include "UserSettings.h"

namespace kovra::cli {

bool RunReport(const ReportJob& job)
{
    const std::string& pdf = job.pdf;
    const std::string& target = pdf.empty() ? job.out : pdf;
    if (fileio::JobInputs{job.file}.inputAt(target)) {
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

    if (!pdf.empty()) {
        dorvex::RenderOptions options;
        options.paperCode = kReportPaperA4;
        return RenderPrintDataToPdf(
            [&](const std::string& dataFile) {
                request.dataFile = dataFile;
                return WriteReport(data, request);
            },
            pdf, options);
    }
    request.dataFile = job.out;
    const ReportOutcome written = WriteReport(data, request);
    if (!written.written) {
        PrintLine(stderr, written.message);
        return false;
    }
    SayUnmappable(written);
    return true;
}

} // namespace kovra::cli
