// Any bytes through both directions of the codec: valid UTF-8 out, no crash.
#include "Cp932Codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = cp932::toUtf8(bytes);
    for (std::size_t i = 0; i < utf8.size();)
        if (cp932::nextCodePoint(utf8, i) == 0xFFFD && utf8.find("\xEF\xBF\xBD") == std::string::npos)
            std::abort(); // the decoder wrote malformed UTF-8
    std::size_t bad = 0;
    const std::string back = cp932::fromUtf8(utf8, &bad);
    std::size_t badBytes = 0;
    (void)cp932::fromUtf8(bytes, &badBytes); // raw bytes as if they were UTF-8
    // For a page: what "?" would have stood for becomes a reference, and
    // the report names each such character once.
    std::string page, lacking;
    cp932::appendCp932Html(page, bytes);
    cp932::addLackingCharacters(lacking, bytes);
    if ((badBytes > 0) != !lacking.empty())
        std::abort();
    return 0;
}
