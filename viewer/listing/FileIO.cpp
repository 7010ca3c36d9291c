#include "FileIO.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace kovra::fileio {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& out)
{
    std::error_code ec;
    const fs::path p = toPath(path);
    if (path.empty() || fs::is_directory(p, ec))
        return false;
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return false;
    in.seekg(0, std::ios::beg);
    out.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(out.data(), size))
        return false;
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    std::error_code ec;
    const fs::path target = toPath(path);
    if (path.empty() || fs::is_directory(target, ec))
        return false;
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = fs::current_path(ec);
    std::random_device rd;
    const fs::path temp = folder / fs::path(target.filename().u8string() + u8".tmp" +
                                            std::u8string(reinterpret_cast<const char8_t*>(std::to_string(rd()).c_str())));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

std::string BaseName(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace kovra::fileio
