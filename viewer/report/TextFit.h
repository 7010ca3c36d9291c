// A text that must stay inside a fixed box of the report form (the remark
// row, the lines of the user's contact block).  It keeps its place and
// size whenever it fits there; a longer one is written smaller and, where
// the box is tall enough, on more lines, down to 6 pt; only what does not
// fit at 6 pt is cut, with "…".
//
// The rule counts characters, not a font's drawn widths, so the same text
// is laid out alike on every machine: a full-width character is one em
// wide, a half-width one (ASCII, half-width katakana) half an em, and a
// line is one em high.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra {

struct FitBox {
    int x = 0, y = 0;     // the text's place at its own size (0.1 mm; y is its top)
    int size = 9;         // its own size in points
    int right = 0;        // no text beyond this x (0.1 mm)
    int top = 0, bottom = 0; // the box's height for smaller and more lines (0.1 mm)
    bool centred = false; // lines centred between top and bottom, else from top down
};

struct FittedLine {
    int x = 0, y = 0, size = 0;
    std::string text; // UTF-8
};

inline constexpr int kSmallestFitSize = 6;

// The lines to write for `text` in `box`: one line at the box's own place
// and size when the text fits there (the text unchanged), otherwise the
// largest size and then the fewest lines that hold it.
std::vector<FittedLine> FitText(std::string_view text, const FitBox& box);

// Width of `text` in half-ems: 1 for a half-width character, 2 otherwise.
int HalfEms(std::string_view text);

} // namespace kovra
