// kovra html: the viewer's HTML export without windows.  Same pages, same
// FieldList, same user profile; questions are answered by --yes.
#include "Commands.h"

#include "HtmlExport.h"
#include "ListingTable.h"
#include "MessageTexts.h"
#include "ShippedFiles.h"
#include "UserSettings.h"

#include <cstdio>
#include <string>

namespace kovra::cli {

namespace {

void PrintLine(std::FILE* to, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), to);
    std::fputc('\n', to);
}

} // namespace

int RunHtml(const Args& args)
{
    std::string file, templatePath, outDir, fieldListPath;
    bool yes = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || !into.empty())
                return false;
            into = args[++i];
            return !into.empty();
        };
        if (a == "--template") {
            if (!value(templatePath))
                return UsageError("html");
        } else if (a == "--out") {
            if (!value(outDir))
                return UsageError("html");
        } else if (a == "--fieldlist") {
            if (!value(fieldListPath))
                return UsageError("html");
        } else if (a == "--yes") {
            yes = true;
        } else if (a.starts_with("--") || !file.empty()) {
            return UsageError("html");
        } else {
            file = a;
        }
    }
    if (file.empty() || templatePath.empty() || outDir.empty())
        return UsageError("html");
    if (fieldListPath.empty())
        fieldListPath = services::ShippedFile("FieldList");

    ListingData data;
    data.CurrentFileName = file;
    const LoadOutcome outcome = LoadListingFile(data, file);
    if (!outcome.ok()) {
        PrintLine(stderr, outcome.message.empty() ? msg::FileCannotOpen(file) : outcome.message);
        return kExitFailed;
    }

    html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = data.ListingCount;
    job.kensakuNengappi = data.KensakuNengappi;
    job.user = services::UserProfileTexts(services::ReadUserSettings());
    job.templatePath = templatePath;
    job.fieldListPath = fieldListPath;
    job.outDir = outDir;

    html::ExportHooks hooks;
    hooks.confirmOverwrite = [yes](const std::string& path) {
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
    const html::ExportResult result = html::ExportPages(job, hooks);

    if (result.status == html::ExportResult::Status::FieldListError)
        return kExitFailed;
    if (result.status != html::ExportResult::Status::Done) {
        PrintLine(stderr, html::DescribeResult(result));
        return kExitFailed;
    }
    // The later listing's page replaced the earlier one's, as in the viewer;
    // say which numbers did so.
    for (const html::DuplicateNumber& d : result.duplicates)
        PrintLine(stderr, "duplicate: listing number 「" + html::PrintableNumber(d.number) + "」 borne by " +
                              std::to_string(d.listings) + " listings; the page of the last one is kept");
    PrintLine(stdout, std::to_string(result.written) + " pages written, " + std::to_string(result.kept) +
                          " kept, " + std::to_string(result.skipped.size()) + " skipped");
    return result.skipped.empty() ? kExitOk : kExitFailed;
}

} // namespace kovra::cli
