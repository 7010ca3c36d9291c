// Reads a byte source in chunks and hands its bytes out in runs of whole
// lines (a line ends at CR LF, CR or LF), keeping an unfinished line for the
// next run.  The loader and the stripped save read files of any size with
// it.  Every byte is searched for a line end once, so a file that is one
// long line costs no more than a file of many short ones.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string_view>

namespace kovra {

class WholeLineReader {
public:
    // `read` fills up to n bytes and returns how many; 0 means the end.
    using ReadFn = std::function<std::size_t(char* into, std::size_t n)>;
    WholeLineReader(ReadFn read, std::size_t chunkBytes);

    // The next run: whole lines, or at the end whatever is left.  The view
    // is valid until the next call.  False when nothing is left.
    bool next(std::string_view& lines);

private:
    ReadFn read_;
    std::size_t chunk_;
    std::size_t capacity_ = 0;
    // malloc'ed, so growing a long line can remap its pages instead of
    // copying them (realloc does for large blocks).
    std::unique_ptr<char, void (*)(void*)> buffer_{nullptr, &std::free};
    std::size_t held_ = 0;
    std::size_t handedOut_ = 0; // bytes of the last run, dropped at the next call
    bool ended_ = false;
};

// Offset just past the last line end in bytes[from, size) that is certain: a
// LF, or a CR whose next byte is known and not LF; npos when there is none.
std::size_t LastCertainLineEnd(std::string_view bytes, std::size_t from);

} // namespace kovra
