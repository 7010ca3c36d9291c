#include "Output.h"

namespace kovra::cli {

void PrintLine(std::FILE* to, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), to);
    std::fputc('\n', to);
}

} // namespace kovra::cli
