// How `kovra` writes its lines: the bytes as they are (UTF-8), then LF.
#pragma once

#include <cstdio>
#include <string_view>

namespace kovra::cli {

void PrintLine(std::FILE* to, std::string_view text);

} // namespace kovra::cli
