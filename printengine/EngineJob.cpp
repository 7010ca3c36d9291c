#include "EngineJob.h"

#include "Messages.h"

#include <utility>

namespace dorvex {

TEngineJob::TEngineJob(std::string formatFileName, std::string dataFileName)
    : FormatFileName(std::move(formatFileName))
    , DataFileName(std::move(dataFileName))
{
}

bool TEngineJob::openFiles()
{
    formatFile.close();
    dataFile.close();
    if (!FormatFileName.empty()) {
        // A file that exists but cannot be read (a FIFO, a device, one too
        // large) stops the job as a missing one does, after its message.
        if (!OpenIfExists(formatFile, FormatFileName) || !formatFile.open()) {
            formatFile.close();
            return false;
        }
    }
    if (DataFileName.empty()) {
        Say(Tone::Error, msg::kNoDataFile);
        formatFile.close();
        return false;
    }
    if (!OpenIfExists(dataFile, DataFileName) || !dataFile.open()) {
        dataFile.close();
        formatFile.close();
        return false;
    }
    return true;
}

void TEngineJob::openFilesToShow()
{
    formatFile.close();
    dataFile.close();
    // A file that cannot be read is said and shown as an empty one.
    if (OpenIfExists(formatFile, FormatFileName))
        formatFile.open();
    if (DataFileName.empty())
        Say(Tone::Error, msg::kNoDataFile);
    else if (OpenIfExists(dataFile, DataFileName))
        dataFile.open();
}

} // namespace dorvex
