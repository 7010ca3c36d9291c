// The comparison sheet through the print engine onto a PDF, with the form
// beside the program, as `kovra report --pdf` renders the report.
#include "ComparePdf.h"
#include "PrintEngineCli.h"

#include "CompareSheetLayout.h"
#include "UserSettings.h"

namespace kovra::cli {

bool WriteComparePdf(const search::CompareSheet& sheet, const std::string& pdf)
{
    CompareSheetRequest request;
    request.profile = services::UserProfileTexts(services::ReadUserSettings());
    dorvex::RenderOptions options;
    options.paperCode = kReportPaperA4;
    options.landscape = true;
    return RenderPrintDataToPdf(
        [&](const std::string& dataFile) {
            request.dataFile = dataFile;
            return WriteCompareSheet(sheet, request);
        },
        pdf, options);
}

} // namespace kovra::cli
