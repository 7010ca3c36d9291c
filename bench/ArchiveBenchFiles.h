// The files the archive's benchmarks work on: daily export files of one
// search, written once into the temporary folder, and SQLite archives made
// anew there.
#pragma once

#include "ListingFileGenerator.h"

#include "Archive.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::bench {

namespace fs = std::filesystem;

// `name` in the temporary folder, after the benchmark's own `prefix`.
inline fs::path TempFile(std::string_view prefix, const std::string& name)
{
    return fs::temp_directory_path() / (std::string(prefix) + name);
}

inline void RemoveArchive(const fs::path& p)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(p.string() + suffix);
}

// An empty SQLite archive at `p`, whatever stood there; null (said on
// stderr) when it cannot be made.
inline std::unique_ptr<archive::Archive> NewFileArchive(const fs::path& p)
{
    RemoveArchive(p);
    std::string message;
    auto a = archive::Archive::Open(p.string(), archive::OpenMode::CreateWhenMissing, message);
    if (!a)
        std::fprintf(stderr, "%s\n", message.c_str());
    return a;
}

// Daily files of one search: day 1 ... day n of `listings` listings, each
// the day before with 1% changed, 0.5% new and 0.5% gone; written once.
inline std::vector<fs::path> DailyFiles(std::string_view prefix, int listings, int n)
{
    std::vector<fs::path> files;
    std::string bytes = GenerateListingFile(listings);
    for (int d = 1; d <= n; ++d) {
        files.push_back(TempFile(prefix, "search_" + std::to_string(listings) + "_day" + std::to_string(d) + ".txt"));
        if (!fs::exists(files.back()))
            std::ofstream(files.back(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (d < n)
            bytes = GenerateNextDay(bytes, static_cast<unsigned>(d));
    }
    return files;
}

} // namespace kovra::bench
