#include "EngineJob.h"

#include "FileIO.h"
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

std::vector<std::string> TEngineJob::inputFiles() const
{
    std::vector<std::string> files;
    for (const auto& [name, file] : {std::pair{&FormatFileName, &formatFile}, std::pair{&DataFileName, &dataFile}}) {
        if (name->empty())
            continue;
        files.push_back(*name);
        if (file->isOpen()) {
            AddImageFiles(file->bytes(), files);
            continue;
        }
        std::string bytes;
        if (kovra::fileio::ReadWholeFile(*name, bytes, kPrintFileSizeLimit).ok())
            AddImageFiles(bytes, files);
    }
    return files;
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
