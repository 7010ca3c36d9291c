#include "ArchiveFailures.h"

#include "ArchiveLocation.h"

#include "MessageTexts.h"

namespace kovra::archive {

std::string_view ReasonText(const StoreError& e)
{
    switch (e.failure()) {
    case Failure::Missing: return "ファイルがありません";
    case Failure::CannotOpen: return msg::kArchiveCannotCreate;
    case Failure::Corrupt: return msg::kArchiveCorrupt;
    case Failure::NewerSchema: return msg::kArchiveNewerSchema;
    case Failure::Busy: return msg::kArchiveBusy;
    case Failure::ReadOnly: return msg::kArchiveReadOnly;
    case Failure::DiskFull: return msg::kArchiveDiskFull;
    case Failure::Unreachable:
    case Failure::Other: break;
    }
    return e.what();
}

std::string CannotRead(std::string_view location, const StoreError& e)
{
    if (e.failure() == Failure::Unreachable)
        return msg::ServerUnreachable(ServerHostOf(location), e.what());
    return msg::ArchiveCannotOpen(location, ReasonText(e));
}

std::string CannotWrite(std::string_view location, const StoreError& e)
{
    if (e.failure() == Failure::Unreachable)
        return msg::ServerUnreachable(ServerHostOf(location), e.what());
    return msg::ArchiveCannotWrite(location, ReasonText(e));
}

} // namespace kovra::archive
