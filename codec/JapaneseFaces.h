// The Windows Japanese faces that the report form, format files, older
// settings and the program's own windows name, and the installed face that
// stands in for each where it is missing (a Linux desktop has the IPA
// fonts).  One table for the viewer's windows and the print engine alike;
// on a Japanese Windows the real faces are there and stay in use.
#pragma once

#include <string_view>

namespace kovra {

struct FaceStandIn {
    std::string_view windowsFace; // as a Japanese Windows spells it
    std::string_view asciiFace;   // its Latin name
    std::string_view installed;   // the face that stands in for it
};

inline constexpr FaceStandIn kFaceStandIns[] = {
    {"ＭＳ 明朝", "MS Mincho", "IPAMincho"},
    {"ＭＳ ゴシック", "MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho"},
    {"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "MS UI Gothic", "IPAPGothic"},
};

} // namespace kovra
