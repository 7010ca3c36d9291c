// ICU implementation of the search's Unicode services.
#include "UnicodeServices.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace kovra::search::unicode {

namespace {

// The NFKC data ships inside ICU's data library; null only when that
// library is broken, and then the texts stay as they are.
const icu::Normalizer2* NfkcInstance()
{
    static const icu::Normalizer2* instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* n = icu::Normalizer2::getNFKCInstance(status);
        return U_SUCCESS(status) ? n : nullptr;
    }();
    return instance;
}

icu::UnicodeString FromUtf8(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string ToUtf8(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

} // namespace

std::string Nfkc(std::string_view text)
{
    const icu::UnicodeString source = FromUtf8(text);
    const icu::Normalizer2* nfkc = NfkcInstance();
    if (!nfkc)
        return ToUtf8(source);
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString normalized = nfkc->normalize(source, status);
    return ToUtf8(U_SUCCESS(status) ? normalized : source);
}

std::string CaseFold(std::string_view text)
{
    icu::UnicodeString s = FromUtf8(text);
    s.foldCase(U_FOLD_CASE_DEFAULT);
    return ToUtf8(s);
}

bool NfkcBoundaryBefore(char32_t c)
{
    const icu::Normalizer2* nfkc = NfkcInstance();
    return nfkc && nfkc->hasBoundaryBefore(static_cast<UChar32>(c));
}

bool IsWhiteSpace(char32_t c)
{
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

} // namespace kovra::search::unicode
