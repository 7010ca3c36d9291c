#include "SaveThroughTempFile.h"

namespace kovra::search {

bool SaveThroughTempFile(const std::string& target, const std::function<bool(const std::string& tempPath)>& write,
                         const fileio::JobInputs* inputs, bool* refusedAsInput)
{
    fileio::SafeSaveFile file(target, fileio::Durability::SyncedToDisk, inputs);
    const bool opened = file.open();
    if (refusedAsInput)
        *refusedAsInput = file.refusedAsInput();
    return opened && write(file.handOver()) && file.commit();
}

} // namespace kovra::search
