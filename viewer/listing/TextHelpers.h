// Small text functions shared by the loader, the decoder and the stripped
// save.  They work on UTF-8 text; where a rule counts positions, it counts
// them as CP932 bytes (the unit of the export files) and never splits a
// character: a character belongs to the range its first byte falls in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra {

// Splits `text` at commas into fields[0], fields[1], ... up to `highestIndex`.
// Entries the text does not reach keep their value; a text without any
// comma stores nothing at all.  No quoting: quotes stay in the fields.
// The views point into `text`.
void SplitFields(std::string_view text, std::vector<std::string_view>& fields, int highestIndex);

std::string RemoveAllChar(std::string_view text, char c);
std::string RemoveSpaces(std::string_view text);          // ideographic and ASCII spaces
std::string_view NumberText(std::string_view text);      // "-----" when absent
std::string GroupThousands(std::string_view text);
std::string EraDateText(std::string_view code);           // "平成" yy "年" m "月" d "日"
std::string YearMonthText(std::string_view code);         // yy "年" m "月"
std::string MemberNumberText(std::string_view code);      // 6 chars "-" up to 11 more

// The same four, appending to `out` (the decoder reuses one buffer).
void AppendWithoutChar(std::string& out, std::string_view text, char c);
void AppendWithoutSpaces(std::string& out, std::string_view text);
void AppendEraDateText(std::string& out, std::string_view code);
void AppendYearMonthText(std::string& out, std::string_view code);
void AppendMemberNumberText(std::string& out, std::string_view code);

// The part of `text` whose characters start at CP932 byte positions
// first..last (1-based, inclusive).
std::string_view ByteRange(std::string_view text, int first, int last);

// Parses an optional sign and ASCII digits into a 32-bit integer; false for
// anything else (empty, other characters, out of range).
bool ParseInt32(std::string_view text, int& value);

inline constexpr std::string_view kAbsent = "-----";

} // namespace kovra
