#include "NumberCells.h"

#include "TextOrder.h"
#include "Utf8.h"

#include <cmath>

namespace kovra::search {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The integer digits as a format writes them: no leading zero, and either
// no commas or a comma before every group of three.  Sets `grouped`.
bool PlainInteger(std::string_view digits, bool& grouped, int& count)
{
    grouped = digits.find(',') != std::string_view::npos;
    count = 0;
    std::size_t group = 0; // digits since the last comma
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] == ',') {
            // The first group holds one to three digits, every later one three.
            if (group == 0 || group > 3 || (count > static_cast<int>(group) && group != 3))
                return false;
            group = 0;
            continue;
        }
        ++group;
        ++count;
    }
    if (grouped && group != 3)
        return false;
    return count > 0 && !(count > 1 && digits[0] == '0');
}

// A unit the format can carry as quoted text: no digit, no '"', short.
bool PlainUnit(std::string_view unit)
{
    int characters = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(unit.data());
    const auto* end = p + unit.size();
    while (p < end) {
        const char32_t c = utf8::Next(p, end);
        if ((c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19) || c == '"' || c < 0x20)
            return false;
        if (++characters > kLongestUnit)
            return false;
    }
    return true;
}

} // namespace

std::optional<NumberCell> NumberCellOf(std::string_view text)
{
    std::size_t used = 0;
    const std::optional<double> value = NumericValue(text, used);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    std::string_view run = text.substr(0, used);
    const std::string_view unit = text.substr(used);
    const bool negative = run.front() == '-';
    if (negative)
        run.remove_prefix(1);
    const std::size_t point = run.find('.');
    const std::string_view integer = run.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : run.substr(point + 1);
    bool grouped = false;
    int digits = 0;
    if (!PlainInteger(integer, grouped, digits) || !PlainUnit(unit))
        return std::nullopt;
    if (point != std::string_view::npos) {
        if (fraction.empty())
            return std::nullopt;
        for (const char c : fraction)
            if (!IsDigit(c))
                return std::nullopt;
    }
    // More digits than a spreadsheet's number keeps, or "-0": shown otherwise.
    if (digits + static_cast<int>(fraction.size()) > 15 || (negative && *value == 0))
        return std::nullopt;

    NumberCell cell{*value, negative ? "-" : "", grouped ? "#,##0" : "0"};
    for (const char c : integer)
        if (c != ',')
            cell.digits.push_back(c);
    if (!fraction.empty()) {
        cell.digits += "." + std::string(fraction);
        cell.format += "." + std::string(fraction.size(), '0');
    }
    if (!unit.empty())
        cell.format += "\"" + std::string(unit) + "\"";
    return cell;
}

} // namespace kovra::search
