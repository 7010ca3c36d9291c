// Writing a file that a library makes by its name (a database copy, a
// sheet): the library fills a temporary file in the target's folder, which
// replaces the target only when it was written whole (FileIO.h's
// SafeSaveFile, whose rules hold: a link is written through, the mode kept).
#pragma once

#include "FileIO.h"

#include <functional>
#include <string>

namespace kovra::search {

// `write` fills the file at the path it is given (UTF-8) and says whether
// it succeeded.  On failure the target is untouched and the temporary file
// removed.  A target that is one of `inputs` is refused (`refusedAsInput`,
// when given, tells) and `write` is not called.
bool SaveThroughTempFile(const std::string& target, const std::function<bool(const std::string& tempPath)>& write,
                         const fileio::JobInputs* inputs = nullptr, bool* refusedAsInput = nullptr);

} // namespace kovra::search
