// Records and files for the HTML export tests.
#pragma once

#include "KovraRecord.h"
#include "ListingDecoder.h"
#include "ListingLine.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kovra::test {

// A decoded listing with number `number`; column 45 is Bikou, 92 Bikou2.
inline TKovraDataClass Listing(const std::string& number, const std::string& bikou2 = {})
{
    TKovraDataClass r;
    ListingLine line;
    line.set(1, number).set(92, bikou2);
    DecodeListingLine(r, line.str());
    return r;
}

inline std::vector<TKovraDataClass> MakeListings(std::initializer_list<const char*> numbers)
{
    std::vector<TKovraDataClass> out;
    for (const char* n : numbers)
        out.push_back(Listing(n));
    return out;
}

inline std::filesystem::path U8(const std::string& s) { return std::filesystem::path(std::u8string(s.begin(), s.end())); }

inline std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir()
    {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("kovra_html_" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string str() const
    {
        const auto u = path_.u8string();
        return std::string(u.begin(), u.end());
    }

private:
    std::filesystem::path path_;
};

} // namespace kovra::test
