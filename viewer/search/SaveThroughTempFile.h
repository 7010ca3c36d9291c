// Writing a file so that a failure never leaves half a file behind: the
// content goes to a temporary file in the target's folder, which replaces
// the target only when it was written whole.
#pragma once

#include <functional>
#include <string>

namespace kovra::search {

// `write` fills the file at the path it is given (UTF-8) and says whether
// it succeeded.  On failure the target is untouched and the temporary file
// removed.
bool SaveThroughTempFile(const std::string& target, const std::function<bool(const std::string& tempPath)>& write);

} // namespace kovra::search
