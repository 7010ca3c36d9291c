// kovra html: the viewer's HTML export without windows.  Same pages, same
// FieldList, same user profile; questions are answered by --yes.
#include "Jobs.h"
#include "ListingInput.h"
#include "Output.h"

#include "HtmlExport.h"
#include "ListingDocument.h"
#include "MessageTexts.h"
#include "ShippedFiles.h"
#include "UserSettings.h"

#include <cstdio>
#include <string>

namespace kovra::cli {

bool RunHtml(const HtmlJob& job)
{
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;

    html::ExportJob pages;
    pages.listings = data.ListingTable.data();
    pages.count = data.ListingCount;
    pages.kensakuNengappi = data.KensakuNengappi;
    pages.user = services::UserProfileTexts(services::ReadUserSettings());
    pages.templatePath = job.templatePath;
    pages.fieldListPath = job.fieldListPath.empty() ? services::ShippedFile("FieldList") : job.fieldListPath;
    pages.outDir = job.outDir;
    pages.exportFile = job.file;

    html::ExportHooks hooks;
    hooks.confirmOverwrite = [yes = job.yes](const std::string& path) {
        if (yes)
            return html::OverwriteAnswer::OverwriteAll;
        PrintLine(stderr, "kept: " + path + " (exists; --yes overwrites)");
        return html::OverwriteAnswer::Keep;
    };
    hooks.pageSkipped = [](const html::SkippedPage& s) {
        PrintLine(stderr, "skipped: listing " + std::to_string(s.index + 1) + " 「" + html::PrintableNumber(s.number) + "」: " + s.reason);
    };
    hooks.fieldListError = [](int line, const std::string&) {
        PrintLine(stderr, std::string(msg::kFieldListError) + " (line " + std::to_string(line) + ")");
    };
    const html::ExportResult result = html::ExportPages(pages, hooks);

    if (result.status == html::ExportResult::Status::FieldListError)
        return false;
    if (result.status != html::ExportResult::Status::Done) {
        PrintLine(stderr, html::DescribeResult(result));
        return false;
    }
    // The later listing's page replaced the earlier one's, as in the viewer;
    // say which numbers did so.
    for (const html::DuplicateNumber& d : result.duplicates)
        PrintLine(stderr, "duplicate: listing number 「" + html::PrintableNumber(d.number) + "」 borne by " +
                              std::to_string(d.listings) + " listings; the page of the last one is kept");
    PrintLine(stdout, std::to_string(result.written) + " pages written, " + std::to_string(result.kept) +
                          " kept, " + std::to_string(result.skipped.size()) + " skipped");
    return result.skipped.empty();
}

} // namespace kovra::cli
