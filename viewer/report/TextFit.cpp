#include "TextFit.h"

#include "Cp932Codec.h"

#include <algorithm>
#include <cmath>

namespace kovra {

namespace {

// One em at `size` points, in 0.1 mm (a point is 254/72 tenths of a mm).
double EmTenths(int size) { return size * 254.0 / 72.0; }

// Half-ems a line at `size` holds between x and right.
int CapacityHalfEms(const FitBox& box, int size)
{
    return static_cast<int>(std::floor(2.0 * (box.right - box.x) / EmTenths(size) + 1e-9));
}

// Lines of `size` the box's height holds (at least one).
int LineCapacity(const FitBox& box, int size)
{
    return std::max(1, static_cast<int>(std::floor((box.bottom - box.top) / EmTenths(size) + 1e-9)));
}

struct Piece {
    std::size_t from, to; // bytes of one character
    int halfEms;
};

std::vector<Piece> Characters(std::string_view text)
{
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t from = i;
        const char32_t c = cp932::nextCodePoint(text, i);
        pieces.push_back({from, i, cp932::byteWidth(c)});
    }
    return pieces;
}

// Breaks the characters into lines of at most `capacity` half-ems; the
// start of each line (an index into `pieces`).
std::vector<std::size_t> BreakLines(const std::vector<Piece>& pieces, int capacity)
{
    std::vector<std::size_t> starts{0};
    int used = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (used + pieces[k].halfEms > capacity && used > 0) {
            starts.push_back(k);
            used = 0;
        }
        used += pieces[k].halfEms;
    }
    return starts;
}

} // namespace

int HalfEms(std::string_view text)
{
    int n = 0;
    for (std::size_t i = 0; i < text.size();)
        n += cp932::byteWidth(cp932::nextCodePoint(text, i));
    return n;
}

std::vector<FittedLine> FitText(std::string_view text, const FitBox& box)
{
    if (HalfEms(text) <= CapacityHalfEms(box, box.size))
        return {{box.x, box.y, box.size, std::string(text)}};

    const std::vector<Piece> pieces = Characters(text);
    int size = box.size - 1;
    std::vector<std::size_t> starts;
    for (; size >= kSmallestFitSize; --size) {
        starts = BreakLines(pieces, CapacityHalfEms(box, size));
        if (static_cast<int>(starts.size()) <= LineCapacity(box, size))
            break;
    }
    bool cut = false;
    if (size < kSmallestFitSize) {
        size = kSmallestFitSize;
        starts.resize(static_cast<std::size_t>(LineCapacity(box, size)));
        cut = true;
    }

    // The bytes of characters a..b (b excluded).
    const auto slice = [&](std::size_t a, std::size_t b) {
        return b > a ? std::string(text.substr(pieces[a].from, pieces[b - 1].to - pieces[a].from)) : std::string();
    };
    std::vector<FittedLine> lines;
    const double lineHeight = EmTenths(size);
    const double blockTop = box.centred ? box.top + (box.bottom - box.top - lineHeight * starts.size()) / 2 : box.top;
    for (std::size_t n = 0; n < starts.size(); ++n) {
        std::size_t end = n + 1 < starts.size() ? starts[n + 1] : pieces.size();
        std::string line;
        if (cut && n + 1 == starts.size()) {
            // The last line ends with "…" in the room its characters leave.
            const int room = CapacityHalfEms(box, size) - 2;
            int used = 0;
            end = starts[n];
            while (end < pieces.size() && used + pieces[end].halfEms <= room)
                used += pieces[end++].halfEms;
            line = slice(starts[n], end) + "…";
        } else {
            line = slice(starts[n], end);
        }
        const int y = static_cast<int>(std::lround(blockTop + lineHeight * static_cast<double>(n)));
        lines.push_back({box.x, y, size, std::move(line)});
    }
    return lines;
}

} // namespace kovra
