// Paths in the tests are UTF-8 std::string, as in the program, and cross to
// std::filesystem through u8string only: the narrow conversions would use
// the ANSI code page on Windows and lose every character it lacks.
#pragma once

#include <filesystem>
#include <string>

namespace kovra::test {

inline std::filesystem::path PathFromUtf8(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8(const std::filesystem::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

} // namespace kovra::test
