// Two files of any bytes compared: every finding must name listings that
// are there, in the order of the lines, and comparing a file with itself
// must find nothing.
#include "ListingChanges.h"
#include "ListingDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte splits the rest into the older and the newer file.
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = data[0] * rest.size() / 255;
    kovra::TListingDocument before, after;
    kovra::LoadListingBytes(before, rest.substr(0, cut), "old");
    kovra::LoadListingBytes(after, rest.substr(cut), "new");
    using namespace kovra::changes;
    const Comparison c = Compare(before, after);
    int stage = 0; // new, gone, changed
    for (const Finding& f : c.findings) {
        const int s = (f.kinds & New) ? 0 : (f.kinds & Gone) ? 1 : 2;
        if (s < stage || f.oldIndex >= before.ListingCount || f.newIndex >= after.ListingCount ||
            (s == 2 && (f.oldIndex < 0 || f.newIndex < 0 || f.fields.empty())))
            std::abort();
        stage = s;
    }
    if (!Compare(after, after).findings.empty())
        std::abort();
    return 0;
}
