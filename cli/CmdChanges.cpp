// kovra changes OLD NEW [--csv OUT | --xlsx OUT]: what changed between two
// export files of the same search, as lines on stdout or as a spreadsheet.
#include "ChangeLines.h"
#include "Jobs.h"
#include "ListingInput.h"
#include "Output.h"

#include "ChangeSheet.h"
#include "FileIO.h"
#include "ListingChanges.h"
#include "ListingExport.h"
#include "MessageTexts.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <cstdio>

namespace kovra::cli {

namespace {

bool WriteSheet(const ChangesJob& job, const changes::Comparison& c, const TListingDocument& before,
                const TListingDocument& after)
{
    const bool csv = !job.csvOut.empty();
    const std::string& out = csv ? job.csvOut : job.xlsxOut;
#ifdef KOVRA_XLSX_EXPORT
    const search::SheetWriter write = csv ? search::WriteCsv : search::WriteXlsx;
#else
    if (!csv) {
        PrintLine(stderr, "kovra changes: this build writes CSV only (XLSX needs zlib); use --csv OUT");
        return false;
    }
    const search::SheetWriter write = search::WriteCsv;
#endif
    // The sheet is never written over either file it compares.
    const search::ExportOutcome outcome = search::ExportSheet(changes::ChangeRows(c, before, after), write, out,
                                                              fileio::JobInputs{job.oldFile, job.newFile});
    if (!outcome.ok)
        PrintLine(stderr, outcome.message);
    return outcome.ok;
}

} // namespace

bool RunChanges(const ChangesJob& job)
{
    const std::string& out = job.csvOut.empty() ? job.xlsxOut : job.csvOut;
    // Said before the files are read (the writer would refuse it as well).
    if (!out.empty() && fileio::JobInputs{job.oldFile, job.newFile}.inputAt(out)) {
        PrintLine(stderr, msg::OutputIsInput(out));
        return false;
    }
    TListingDocument before, after;
    if (!LoadListings(before, job.oldFile) || !LoadListings(after, job.newFile))
        return false;
    const changes::Comparison c = changes::Compare(before, after);
    for (const std::string_view number : c.duplicates)
        PrintLine(stderr, "duplicate: " + std::string(number));
    if (!out.empty())
        return WriteSheet(job, c, before, after);

    std::string text;
    for (const changes::Finding& f : c.findings) {
        const TKovraDataClass* older = f.oldIndex >= 0 ? &before.ListingTable[static_cast<std::size_t>(f.oldIndex)] : nullptr;
        const TKovraDataClass* newer = f.newIndex >= 0 ? &after.ListingTable[static_cast<std::size_t>(f.newIndex)] : nullptr;
        FindingLines lines{.number = (newer ? newer : older)->BukkennNum(), .kinds = f.kinds, .fields = f.fields};
        if (older && newer) {
            lines.oldStatus = older->DataSyubetu();
            lines.newStatus = newer->DataSyubetu();
            lines.oldPrice = older->Kakaku();
            lines.newPrice = newer->Kakaku();
        }
        AppendFindingLines(text, lines);
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return true;
}

} // namespace kovra::cli
