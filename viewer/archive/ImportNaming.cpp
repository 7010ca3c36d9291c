#include "ImportNaming.h"

#include "MessageTexts.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace kovra::archive {

namespace {

// The trailing characters a series name drops, in UTF-8.
constexpr std::string_view kDroppedTails[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９", "　"};

bool DropTail(std::string_view& s)
{
    if (s.empty())
        return false;
    const char c = s.back();
    if ((c >= '0' && c <= '9') || c == '-' || c == '_' || c == ' ') {
        s.remove_suffix(1);
        return true;
    }
    for (const std::string_view tail : kDroppedTails) {
        if (s.ends_with(tail)) {
            s.remove_suffix(tail.size());
            return true;
        }
    }
    return false;
}

// Reads the digits up to `unit` at `s`'s start.
bool ReadPart(std::string_view& s, std::string_view unit, int& value)
{
    const std::size_t end = s.find(unit);
    if (end == 0 || end == std::string_view::npos)
        return false;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + end, value);
    if (ec != std::errc() || p != s.data() + end)
        return false;
    s.remove_prefix(end + unit.size());
    return true;
}

std::tm LocalTime(std::chrono::system_clock::time_point t)
{
    // std::localtime shares one result between threads.
    static std::mutex lock;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    const std::lock_guard<std::mutex> hold(lock);
    const std::tm* local = std::localtime(&seconds);
    return local ? *local : std::tm{};
}

std::string DateText(int y, int m, int d)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    return buffer;
}

} // namespace

std::string SeriesFromFileName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view stem = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0)
        stem = stem.substr(0, dot);
    while (DropTail(stem)) {
    }
    return stem.empty() ? std::string(msg::kDefaultSeries) : std::string(stem);
}

std::optional<std::string> SearchDate(std::string_view text)
{
    constexpr std::string_view kEra = "平成";
    if (!text.starts_with(kEra))
        return std::nullopt;
    text.remove_prefix(kEra.size());
    // The year is the code's two characters as they stand.
    int yy = 0, m = 0, d = 0;
    if (text.size() < 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9' || !text.substr(2).starts_with("年"))
        return std::nullopt;
    yy = (text[0] - '0') * 10 + (text[1] - '0');
    text.remove_prefix(2 + std::string_view("年").size());
    if (!ReadPart(text, "月", m) || !ReadPart(text, "日", d) || !text.empty())
        return std::nullopt;
    const int y = 1988 + yy;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m < 1 || m > 12 || d < 1 || d > kDays[m - 1] + (m == 2 && leap ? 1 : 0))
        return std::nullopt;
    return DateText(y, m, d);
}

std::string LocalDate(std::chrono::system_clock::time_point t)
{
    const std::tm tm = LocalTime(t);
    return DateText(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string LocalDateTime(std::chrono::system_clock::time_point t)
{
    const std::tm tm = LocalTime(t);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return DateText(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) + buffer;
}

} // namespace kovra::archive
