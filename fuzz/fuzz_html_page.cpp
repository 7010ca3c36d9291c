// Any bytes as FieldList + template: reading them must never crash, and the
// one-pass page must equal the line-by-line page for every input.
#include "HtmlPage.h"
#include "ListingDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

const kovra::TKovraDataClass& Record(int which)
{
    static kovra::TKovraDataClass records[2];
    static bool ready = false;
    if (!ready) {
        std::string a = "1,12/*Kakaku*/", b = "1,";
        for (int c = 2; c <= 101; ++c) {
            a += c == 92 ? ",*/x/*" : c == 6 ? ",2480" : ",";
            b += ",";
        }
        kovra::DecodeListingLine(records[0], a);
        kovra::DecodeListingLine(records[1], b);
        ready = true;
    }
    return records[which];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    // FieldList, a NUL, the template.
    const std::size_t cut = in.find('\0');
    const std::string_view fieldListBytes = in.substr(0, cut);
    const std::string_view templateBytes = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);

    kovra::html::FieldList list = kovra::html::ReadFieldList(fieldListBytes);
    (void)kovra::html::UnsafePageNameReason(fieldListBytes.substr(0, 64));
    if (!list.ok())
        return 0;
    const kovra::html::UserTexts user{"A/", "*", "", "/*UserTel*/", "", "", "http://x/"};
    kovra::html::PageMaker onePass(std::string(templateBytes), list.tokens, "/", user);
    kovra::html::PageMaker lineByLine(std::string(templateBytes), list.tokens, "/", user);
    lineByLine.setOnePassAllowed(false);
    std::string a, b;
    for (int r = 0; r < 2; ++r) {
        onePass.Make(Record(r), "n*", std::nullopt, a);
        lineByLine.Make(Record(r), "n*", std::nullopt, b);
        if (a != b)
            std::abort();
    }
    return 0;
}
