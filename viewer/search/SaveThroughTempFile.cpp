#include "SaveThroughTempFile.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace kovra::search {

namespace fs = std::filesystem;

namespace {

fs::path PathFromUtf8(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& p)
{
    const std::u8string u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

} // namespace

bool SaveThroughTempFile(const std::string& target, const std::function<bool(const std::string& tempPath)>& write)
{
    std::error_code ec;
    const fs::path path = PathFromUtf8(target);
    if (target.empty() || path.filename().empty() || fs::is_directory(path, ec))
        return false;
    std::random_device random;
    fs::path temp = path;
    temp += u8".tmp" + std::u8string(reinterpret_cast<const char8_t*>(std::to_string(random()).c_str()));
    const bool written = write(Utf8FromPath(temp));
    if (written) {
        fs::rename(temp, path, ec);
        if (!ec)
            return true;
    }
    fs::remove(temp, ec);
    return false;
}

} // namespace kovra::search
