// The SHA-256 of an export file's bytes, which tells a file imported before.
// A file's digest is made on a thread of its own while its import starts:
// reading it first would hold up every import by that long.
#pragma once

#include "TextBlocks.h"

#include <atomic>
#include <string>
#include <thread>

namespace kovra::archive {

class ContentDigest {
public:
    // A digest known already (a loaded document's).
    explicit ContentDigest(const Digest& known);
    // The digest of the file at `path`, being made.
    explicit ContentDigest(const std::string& path);
    ~ContentDigest();
    ContentDigest(const ContentDigest&) = delete;
    ContentDigest& operator=(const ContentDigest&) = delete;

    // Whether get() would not wait.
    bool ready() const { return made_.load(std::memory_order_acquire); }
    // Waits for it; false (and the reader's message) when the file could
    // not be read.
    bool get(Digest& digest, std::string& message);

private:
    Digest digest_{};
    bool ok_ = true;
    std::string message_;
    std::atomic<bool> made_{false};
    std::thread thread_; // last: it starts once the rest is made
};

} // namespace kovra::archive
