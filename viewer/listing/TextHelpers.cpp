#include "TextHelpers.h"

#include "Cp932Codec.h"

#include <charconv>
#include <limits>

namespace kovra {

namespace {

inline bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// UTF-8 offset of the first character that starts at CP932 byte position
// `pos` (0-based) or later.
std::size_t offsetAtByte(std::string_view s, int pos)
{
    if (pos <= 0)
        return 0;
    std::size_t i = 0;
    int bytes = 0;
    while (i < s.size() && bytes < pos) {
        bytes += cp932::byteWidth(cp932::nextCodePoint(s, i));
    }
    return i;
}

} // namespace

void SplitFields(std::string_view text, std::vector<std::string_view>& fields, int highestIndex)
{
    if (highestIndex < 0)
        return;
    if (fields.size() < static_cast<std::size_t>(highestIndex) + 1)
        fields.resize(static_cast<std::size_t>(highestIndex) + 1);
    std::size_t pos = 0;
    int index = 0;
    for (;;) {
        const std::size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos) {
            // The rest goes after the last stored field; a text without any
            // comma stores nothing.
            if (index > 0 && index <= highestIndex)
                fields[static_cast<std::size_t>(index)] = text.substr(pos);
            return;
        }
        if (index > highestIndex)
            return;
        fields[static_cast<std::size_t>(index)] = text.substr(pos, comma - pos);
        ++index;
        pos = comma + 1;
    }
}

void AppendWithoutChar(std::string& out, std::string_view text, char c)
{
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t hit = text.find(c, pos);
        if (hit == std::string_view::npos)
            hit = text.size();
        out.append(text.substr(pos, hit - pos));
        pos = hit + 1;
    }
}

std::string RemoveAllChar(std::string_view text, char c)
{
    std::string out;
    AppendWithoutChar(out, text, c);
    return out;
}

void AppendWithoutSpaces(std::string& out, std::string_view text)
{
    // Copies the runs between spaces whole: most of a line has none.
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == ' ') {
            out.append(text.data() + run, i - run);
            run = i + 1;
        } else if (ch == '\xE3' && i + 2 < text.size() && text[i + 1] == '\x80' && text[i + 2] == '\x80') {
            out.append(text.data() + run, i - run); // U+3000 IDEOGRAPHIC SPACE
            i += 2;
            run = i + 1;
        }
    }
    out.append(text.data() + run, text.size() - run);
}

std::string RemoveSpaces(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendWithoutSpaces(out, text);
    return out;
}

std::string_view NumberText(std::string_view text)
{
    if (text.empty())
        return kAbsent;
    std::size_t first = 0;
    while (first < text.size() && text[first] == '0')
        ++first;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    const std::string_view result = text.substr(first, last - first);
    if (result.empty() || result == ".00" || result == ".0")
        return kAbsent;
    return result;
}

std::string GroupThousands(std::string_view text)
{
    std::string out(text);
    if (isAscii(text)) {
        for (std::size_t n = text.size(); n > 3; n -= 3)
            out.insert(n - 3, 1, ',');
        return out;
    }
    // Positions count CP932 bytes; a comma never lands inside a character.
    // Inserting from the right keeps the positions to the left valid.
    int n = 0;
    for (std::size_t i = 0; i < text.size();)
        n += cp932::byteWidth(cp932::nextCodePoint(text, i));
    for (; n > 3; n -= 3) {
        const std::size_t at = offsetAtByte(out, n - 3);
        out.insert(at, 1, ',');
    }
    return out;
}

std::string_view ByteRange(std::string_view text, int first, int last)
{
    if (last < first || first < 1)
        return {};
    if (isAscii(text)) {
        const auto from = static_cast<std::size_t>(first - 1);
        if (from >= text.size())
            return {};
        return text.substr(from, static_cast<std::size_t>(last - first + 1));
    }
    const std::size_t from = offsetAtByte(text, first - 1);
    const std::size_t to = offsetAtByte(text, last);
    return text.substr(from, to - from);
}

namespace {

// A month or day code loses a leading "0" (keeps only its second character).
inline std::string_view dropLeadingZero(std::string_view part)
{
    return (!part.empty() && part.front() == '0') ? part.substr(1) : part;
}

} // namespace

void AppendEraDateText(std::string& out, std::string_view code)
{
    const std::string_view year = ByteRange(code, 1, 2);
    const std::string_view month = dropLeadingZero(ByteRange(code, 3, 4));
    const std::string_view day = dropLeadingZero(ByteRange(code, 5, 6));
    out += "平成";
    out += year;
    out += "年";
    out += month;
    out += "月";
    out += day;
    out += "日";
}

std::string EraDateText(std::string_view code)
{
    std::string out;
    AppendEraDateText(out, code);
    return out;
}

namespace {

// Year or month part of a year-month code: leading "0" off, spaces off, number rule.
void appendYearMonthPart(std::string& out, std::string_view part)
{
    part = dropLeadingZero(part);
    if (part.find(' ') == std::string_view::npos && part.find("\xE3\x80\x80") == std::string_view::npos) {
        out += NumberText(part);
    } else {
        out += NumberText(RemoveSpaces(part));
    }
}

} // namespace

void AppendYearMonthText(std::string& out, std::string_view code)
{
    appendYearMonthPart(out, ByteRange(code, 1, 2));
    out += "年";
    appendYearMonthPart(out, ByteRange(code, 3, 4));
    out += "月";
}

std::string YearMonthText(std::string_view code)
{
    std::string out;
    AppendYearMonthText(out, code);
    return out;
}

void AppendMemberNumberText(std::string& out, std::string_view code)
{
    out += ByteRange(code, 1, 6);
    out += '-';
    out += ByteRange(code, 7, 17);
}

std::string MemberNumberText(std::string_view code)
{
    std::string out;
    AppendMemberNumberText(out, code);
    return out;
}

bool ParseInt32(std::string_view text, int& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i >= text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return false;
    value = static_cast<int>(v);
    return true;
}

} // namespace kovra
