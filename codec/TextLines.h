// The program's text files (listings, FieldList, LblTag, format and print
// data files, templates) end their lines with CR LF, CR or LF; a final line
// end does not start another line.  This is the one place that splits them,
// for a whole buffer and for a file read in pieces alike.
//
// Plain bytes: in Shift-JIS neither CR nor LF is ever the second byte of a
// character, so lines are cut before any decoding.
#pragma once

#include "FileIO.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::text {

// Bytes of the line end that starts at `at`: 2 for CR LF, 1 for a lone CR or
// LF, 0 when `at` holds no line end (or is the end of `bytes`).
std::size_t LineEndLength(std::string_view bytes, std::size_t at);

// The lines of a buffer, one after the other, without their ends.  Every
// byte is searched for a line end once, whichever ends the file uses.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view bytes);
    // The next line; false when none is left.
    bool next(std::string_view& line);

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t nextLf_, nextCr_; // first LF / CR at or after where they were last sought; size() if none
};

std::vector<std::string_view> SplitLines(std::string_view bytes);

// The text as the program writes it: every line end (CR LF, CR or LF)
// becomes CR LF, and with `endLastLine` a last line without an end gets
// one (an empty text stays empty).
std::string WithCrLfLineEnds(std::string_view bytes, bool endLastLine);

// A buffer that is the start of a longer text: its last byte may be a CR
// whose LF has not been read yet, so only line ends before it are certain.
// Offset just past the first certain line end at or after `from` / the last
// one in [from, size); npos when there is none.
std::size_t NextCertainLineEnd(std::string_view bytes, std::size_t from);
std::size_t LastCertainLineEnd(std::string_view bytes, std::size_t from);

// Reads a byte source in chunks and hands its bytes out in runs of whole
// lines, keeping an unfinished line for the next run.  The loader and the
// stripped save read files of any size with it.  A file that is one long
// line costs no more than a file of many short ones.
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

// Reads a Shift-JIS text file whole into UTF-8 lines: a regular file of at
// most `limit` bytes.  The result says why not.
fileio::ReadResult ReadCp932Lines(const std::string& path, std::vector<std::string>& lines, std::uint64_t limit);

} // namespace kovra::text
