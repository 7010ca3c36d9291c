// The copy of an export file with the broker ("member") columns blanked.
#pragma once

#include "MemberFields.h"

#include "WorkProgress.h"

#include <string>
#include <string_view>

namespace kovra {

// Returns the stripped file's bytes (the columns of kMemberColumns blank)
// for the CP932 bytes of a source file.
// Listing lines ("1...") become 1001 fields each followed by a comma (fields
// past index 1000 are kept after them); other lines, and a "1" line without
// any comma, are copied unchanged; every line ends with CR LF.
std::string StripMemberItems(std::string_view sourceBytes);

struct StripOutcome {
    bool ok = false;
    std::string message; // the error text when !ok
    bool outputIsInput = false; // refused: the target is the source file
};

// Reads `sourcePath` again and writes the stripped copy to `targetPath`,
// both piece by piece, through a temporary file in the target's folder, so
// a failure never leaves a half-written or emptied target.  The target is
// never the source (any spelling, link or hard link): that is refused, as
// is a source that cannot be read to its end, and nothing is written.
// `progress` (when given) counts the bytes read; once stopped, the save
// ends with nothing written and no message.
StripOutcome SaveMemberStripped(const std::string& sourcePath, const std::string& targetPath,
                                WorkProgress* progress = nullptr);

} // namespace kovra
