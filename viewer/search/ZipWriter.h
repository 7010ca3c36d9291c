// A ZIP file written front to back, for the XLSX export: each entry is
// deflated as it is written (fast compression: an export of 100,000
// listings must not take long), sizes follow each entry in a data
// descriptor, and the central directory closes the file.  Pieces handed
// over whole (queue()) are compressed on a thread of the writer's own
// while the caller makes the next one.
#pragma once

#include <atomic>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::search {

class ZipWriter {
public:
    ZipWriter();
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Creates (or empties) the file at `path` (UTF-8).
    bool open(const std::string& path);
    // Starts an entry; the previous one must have ended.
    bool beginEntry(std::string_view name);
    bool write(std::string_view bytes);
    // Like write(), but compressed on the writer's thread; at most a few
    // pieces wait, so memory stays small.
    bool queue(std::string bytes);
    bool endEntry();
    // Writes the central directory and closes the file.  False when any
    // step failed (a full disk) or the file grew past what a ZIP without
    // 64-bit extensions can describe (4 GiB).
    bool finish();

private:
    struct Entry {
        std::string name;
        std::uint32_t crc = 0;
        std::uint64_t compressed = 0, size = 0, offset = 0;
    };
    bool put(const void* bytes, std::size_t n);
    bool deflateInto(int flush);
    bool compress(std::string_view bytes);
    void drain(); // waits until every queued piece is compressed
    void compressQueued();

    std::ofstream file_;
    std::uint64_t written_ = 0;
    std::vector<Entry> entries_;
    bool inEntry_ = false;
    std::atomic<bool> ok_ = false; // also set by the compressing thread
    struct Stream;
    std::unique_ptr<Stream> stream_;
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace kovra::search
