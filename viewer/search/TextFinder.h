// Finds one folded term in many texts: a Horspool search whose skip table
// is made once per term, so each text costs only the scan.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kovra::search {

class TextFinder {
public:
    TextFinder() { skip_.fill(1); }
    explicit TextFinder(std::string needle)
        : needle_(std::move(needle))
    {
        const std::size_t m = needle_.size();
        const auto most = static_cast<std::uint8_t>(std::min<std::size_t>(m == 0 ? 1 : m, 255));
        skip_.fill(most);
        for (std::size_t i = 0; i + 1 < m; ++i) // a smaller skip than the true one is still right
            skip_[static_cast<unsigned char>(needle_[i])] = static_cast<std::uint8_t>(std::min<std::size_t>(m - 1 - i, 255));
    }

    const std::string& needle() const { return needle_; }

    bool foundIn(std::string_view text) const
    {
        const std::size_t m = needle_.size();
        if (m == 0)
            return true;
        if (text.size() < m)
            return false;
        if (m == 1)
            return std::memchr(text.data(), needle_[0], text.size()) != nullptr;
        const char* t = text.data();
        const char* n = needle_.data();
        const unsigned char last = static_cast<unsigned char>(n[m - 1]);
        for (std::size_t at = 0; at + m <= text.size();) {
            const auto c = static_cast<unsigned char>(t[at + m - 1]);
            if (c == last && std::memcmp(t + at, n, m - 1) == 0)
                return true;
            at += skip_[c];
        }
        return false;
    }

private:
    std::string needle_;
    std::array<std::uint8_t, 256> skip_{};
};

} // namespace kovra::search
