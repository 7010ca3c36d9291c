// The Windows faces that the report form, format files, older settings and
// the program's own windows name, and the installed face that stands in for
// each where it is missing: the IPA fonts for the Japanese faces, the
// metric-compatible Liberation fonts for the Western ones (the same advance
// widths, so texts laid out for the Windows face keep their length).  A face
// in no row stands in by its kind, guessed from its name.  One table for the
// viewer's windows and the print engine alike; on a Japanese Windows the
// real faces are there and stay in use.
#pragma once

#include <string_view>

namespace kovra {

// What a face looks like: a proportional request must never end in a
// monospaced face (its texts would run far wider than laid out), nor a
// monospaced one in a proportional face.
enum class FaceKind { ProportionalSans, ProportionalSerif, Monospaced };

struct FaceStandIn {
    std::string_view windowsFace; // as a Japanese Windows spells it
    std::string_view asciiFace;   // its Latin name
    std::string_view installed;   // the face that stands in for it
    FaceKind kind;
};

inline constexpr FaceStandIn kFaceStandIns[] = {
    {"ＭＳ 明朝", "MS Mincho", "IPAMincho", FaceKind::Monospaced},
    {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", FaceKind::Monospaced},
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", FaceKind::ProportionalSans},
    {"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho", FaceKind::ProportionalSerif},
    {"ＭＳ ＵＩ Ｇｏｔｈｉｃ", "MS UI Gothic", "IPAPGothic", FaceKind::ProportionalSans},
    {"Arial", "Arial", "Liberation Sans", FaceKind::ProportionalSans},
    {"Times New Roman", "Times New Roman", "Liberation Serif", FaceKind::ProportionalSerif},
    {"Courier New", "Courier New", "Liberation Mono", FaceKind::Monospaced},
};

// A face in no row: the first word found in its name (lower case, blanks
// removed) gives its kind; a name with none of them is proportional sans.
struct FaceKindWord {
    std::string_view word;
    FaceKind kind;
};
inline constexpr FaceKindWord kFaceKindWords[] = {
    {"mono", FaceKind::Monospaced},         {"courier", FaceKind::Monospaced},
    {"console", FaceKind::Monospaced},      {"fixed", FaceKind::Monospaced},
    {"terminal", FaceKind::Monospaced},     {"sans", FaceKind::ProportionalSans},
    {"gothic", FaceKind::ProportionalSans}, {"ゴシック", FaceKind::ProportionalSans},
    {"明朝", FaceKind::ProportionalSerif},  {"mincho", FaceKind::ProportionalSerif},
    {"serif", FaceKind::ProportionalSerif}, {"roman", FaceKind::ProportionalSerif},
    {"times", FaceKind::ProportionalSerif}, {"century", FaceKind::ProportionalSerif},
};

// The installed face for a kind: faces with Japanese glyphs, since the
// program's texts are Japanese.
constexpr std::string_view FallbackFace(FaceKind kind)
{
    switch (kind) {
    case FaceKind::Monospaced: return "IPAGothic";
    case FaceKind::ProportionalSerif: return "IPAPMincho";
    case FaceKind::ProportionalSans: break;
    }
    return "IPAPGothic";
}

// `foldedName`: lower case, half-width, no blanks.
constexpr FaceKind KindFromName(std::string_view foldedName)
{
    for (const FaceKindWord& w : kFaceKindWords)
        if (foldedName.find(w.word) != std::string_view::npos)
            return w.kind;
    return FaceKind::ProportionalSans;
}

} // namespace kovra
