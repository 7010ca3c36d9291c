#include "TextOrder.h"

#include "UnicodeServices.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

namespace kovra::search {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the run at the start of `text`; `used` tells how many bytes it took.
std::optional<double> ReadRun(std::string_view text, std::size_t& used)
{
    used = 0;
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    if (i >= text.size() || !IsDigit(text[i]))
        return std::nullopt;
    std::string digits; // the run without its commas
    if (negative)
        digits.push_back('-');
    bool point = false, nonZero = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits.push_back(c);
            nonZero = nonZero || (c != '0' && !point);
        } else if (c == ',') {
            continue;
        } else if (c == '.' && !point) {
            point = true;
            digits.push_back(c);
        } else {
            break;
        }
    }
    used = i;
    if (digits.back() == '.')
        digits.pop_back();
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) { // too many digits: huge, or a tiny fraction
        value = nonZero ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative)
            value = -value;
    }
    return value;
}

} // namespace

std::optional<double> NumericValue(std::string_view text)
{
    std::size_t used = 0;
    return ReadRun(text, used);
}

std::optional<double> NumericValue(std::string_view text, std::size_t& used) { return ReadRun(text, used); }

std::optional<double> ParseNumber(std::string_view text)
{
    const std::string normalized = unicode::Nfkc(text);
    std::size_t used = 0;
    const std::optional<double> value = ReadRun(normalized, used);
    if (!value || used != normalized.size())
        return std::nullopt;
    return value;
}

int NaturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == '0')
                ++i;
            while (j < b.size() && b[j] == '0')
                ++j;
            const std::size_t si = i, sj = j;
            while (i < a.size() && IsDigit(a[i]))
                ++i;
            while (j < b.size() && IsDigit(b[j]))
                ++j;
            if (i - si != j - sj) // more significant digits: larger
                return i - si < j - sj ? -1 : 1;
            if (const int c = std::memcmp(a.data() + si, b.data() + sj, i - si))
                return c < 0 ? -1 : 1;
            continue;
        }
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if (ca != cb) // UTF-8 bytes order like code points
            return ca < cb ? -1 : 1;
        ++i, ++j;
    }
    if (i == a.size() && j == b.size())
        return 0;
    return i == a.size() ? -1 : 1;
}

} // namespace kovra::search
