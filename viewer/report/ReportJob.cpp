#include "ReportJob.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "PrintJobFolder.h"

namespace kovra {

ReportJobOutcome RunReportJob(const std::string& dataFileName, const ReportWriter& write, const ReportSink& sink)
{
    ReportJobOutcome outcome;
    const PrintJobFolder folder;
    const std::string dataFile = folder.NewFile(dataFileName);
    if (dataFile.empty()) {
        outcome.written.message = msg::FileCannotCreate(fileio::Utf8FromPath(folder.path() / dataFileName));
        return outcome;
    }
    outcome.written = write(dataFile);
    if (!outcome.written.written || !sink)
        return outcome;
    outcome.handedOver = true;
    outcome.printed = sink(outcome.written);
    return outcome;
}

} // namespace kovra
