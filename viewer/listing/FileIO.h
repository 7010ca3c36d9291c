// File access with UTF-8 paths, the same on Linux and Windows.
#pragma once

#include <string>
#include <string_view>

namespace kovra::fileio {

// Reads the whole file into `out`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Writes `bytes` to `path` through a temporary file in the same folder,
// renamed over the target only when everything was written.  On failure
// the target is untouched and no temporary file remains.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The file name without its folder.
std::string BaseName(const std::string& path);

} // namespace kovra::fileio
