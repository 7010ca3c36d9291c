// kovra compare FILE NUM... (--pdf OUT.pdf | --csv OUT)
//   the comparison sheet of the listings with these numbers (2 to 8), the
//   markets under its rows taken from the whole file
#include "ComparePdf.h"
#include "Jobs.h"
#include "ListingInput.h"
#include "Output.h"

#include "CompareSheet.h"
#include "FileIO.h"
#include "ListingDocument.h"
#include "MessageTexts.h"
#include "SearchIndex.h"

#include <numeric>

namespace kovra::cli {

bool RunCompare(const CompareJob& job)
{
    // The sheet is never written over the export file it is made from.
    const fileio::JobInputs inputs{job.file};
    const std::string& out = job.pdf.empty() ? job.csv : job.pdf;
    if (inputs.inputAt(out)) {
        PrintLine(stderr, msg::OutputIsInput(out));
        return false;
    }
    TListingDocument data;
    if (!LoadListings(data, job.file))
        return false;
    const search::SearchIndex index(data);
    std::vector<int> chosen;
    for (const std::string& number : job.numbers) {
        const std::optional<int> listing = search::FindListingNumber(index, number);
        if (!listing) {
            PrintLine(stderr, msg::NoSuchListingNumber(number));
            return false;
        }
        chosen.push_back(*listing);
    }
    std::vector<int> all(static_cast<std::size_t>(data.ListingCount));
    std::iota(all.begin(), all.end(), 0);
    const search::CompareSheet sheet = search::MakeCompareSheet(data, index, all, chosen, search::DefaultCompareRows());
    if (job.csv.empty())
        return WriteComparePdf(sheet, job.pdf);
    const search::ExportOutcome written = search::WriteCompareCsv(sheet, job.csv, inputs);
    if (!written.ok)
        PrintLine(stderr, written.message);
    return written.ok;
}

} // namespace kovra::cli
