// What an import is called: its series (the search it comes from, from the
// file's name) and its date (the file's search date, from its header).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kovra::archive {

// The file name's stem without a trailing run of digits (also full-width),
// "-", "_" and spaces (also the full-width space): "青葉区マンション_20241201.txt"
// is "青葉区マンション"; a stem of nothing else is "既定".  `path` may have folders.
std::string SeriesFromFileName(std::string_view path);

// The search date of a loaded file as yyyy-mm-dd: its header's YYMMDD as
// the window shows it ("平成26年12月1日", the year 1988 + YY); none when the
// file had no header or the code is no date.
std::optional<std::string> SearchDate(std::string_view kensakuNengappi);

// Local calendar date "yyyy-mm-dd" and date and time "yyyy-mm-dd hh:mm:ss".
std::string LocalDate(std::chrono::system_clock::time_point t);
std::string LocalDateTime(std::chrono::system_clock::time_point t);

} // namespace kovra::archive
