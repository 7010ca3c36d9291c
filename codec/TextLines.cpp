#include "TextLines.h"

#include "Cp932Codec.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kovra::text {

namespace {

// First `c` at or after `from`, or size() when there is none.
std::size_t Find(std::string_view bytes, char c, std::size_t from)
{
    if (from >= bytes.size())
        return bytes.size();
    const void* at = std::memchr(bytes.data() + from, c, bytes.size() - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - bytes.data()) : bytes.size();
}

} // namespace

std::size_t LineEndLength(std::string_view bytes, std::size_t at)
{
    if (at >= bytes.size())
        return 0;
    if (bytes[at] == '\n')
        return 1;
    if (bytes[at] != '\r')
        return 0;
    return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? 2 : 1;
}

LineSplitter::LineSplitter(std::string_view bytes)
    : bytes_(bytes), nextLf_(Find(bytes, '\n', 0)), nextCr_(Find(bytes, '\r', 0))
{
}

bool LineSplitter::next(std::string_view& line)
{
    if (pos_ >= bytes_.size())
        return false;
    // A position passed by is sought again from here; one that lies ahead
    // (or the end, when there is none) stays, so no byte is searched twice.
    if (nextLf_ < pos_)
        nextLf_ = Find(bytes_, '\n', pos_);
    if (nextCr_ < pos_)
        nextCr_ = Find(bytes_, '\r', pos_);
    const std::size_t end = std::min(nextLf_, nextCr_);
    line = bytes_.substr(pos_, end - pos_);
    pos_ = end + LineEndLength(bytes_, end);
    return true;
}

std::string WithCrLfLineEnds(std::string_view bytes, bool endLastLine)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
        out.append(bytes, at, end - at);
        if (end == bytes.size())
            break;
        out += "\r\n";
        at = end + LineEndLength(bytes, end);
    }
    if (endLastLine && !out.empty() && !out.ends_with("\r\n"))
        out += "\r\n";
    return out;
}

std::vector<std::string_view> SplitLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    LineSplitter splitter(bytes);
    for (std::string_view line; splitter.next(line);)
        lines.push_back(line);
    return lines;
}

std::size_t NextCertainLineEnd(std::string_view bytes, std::size_t from)
{
    while (from < bytes.size()) {
        const std::size_t lf = Find(bytes, '\n', from);
        const std::size_t cr = Find(bytes.substr(0, lf), '\r', from);
        if (cr == lf) // no CR before the LF
            return lf < bytes.size() ? lf + 1 : std::string_view::npos;
        if (cr + 1 < bytes.size())
            return cr + LineEndLength(bytes, cr);
        from = cr + 1; // a CR at the very end: its LF may follow
    }
    return std::string_view::npos;
}

std::size_t LastCertainLineEnd(std::string_view bytes, std::size_t from)
{
    if (from >= bytes.size())
        return std::string_view::npos;
    const char* region = bytes.data() + from;
    const std::size_t n = bytes.size() - from;
    // Most runs of a long line hold no line end at all: memchr says so fast.
    if (!std::memchr(region, '\n', n) && !std::memchr(region, '\r', n))
        return std::string_view::npos;
    for (std::size_t i = bytes.size(); i-- > from;) {
        if (bytes[i] == '\n')
            return i + 1;
        // A CR LF would have been found at its LF first.
        if (bytes[i] == '\r' && i + 1 < bytes.size())
            return i + 1;
    }
    return std::string_view::npos;
}

WholeLineReader::WholeLineReader(ReadFn read, std::size_t chunkBytes)
    : read_(std::move(read)), chunk_(chunkBytes ? chunkBytes : 1)
{
}

bool WholeLineReader::next(std::string_view& lines)
{
    if (handedOut_) {
        std::memmove(buffer_.get(), buffer_.get() + handedOut_, held_ - handedOut_);
        held_ -= handedOut_;
        handedOut_ = 0;
    }
    for (;;) {
        if (ended_) {
            if (held_ == 0)
                return false;
            lines = std::string_view(buffer_.get(), held_);
            handedOut_ = held_;
            return true;
        }
        if (capacity_ - held_ < chunk_) {
            // Doubling keeps a line longer than a chunk linear to read.
            const std::size_t bigger = (held_ + chunk_) * 2;
            void* grown = std::realloc(buffer_.get(), bigger);
            if (!grown)
                throw std::bad_alloc();
            buffer_.release();
            buffer_.reset(static_cast<char*>(grown));
            capacity_ = bigger;
        }
        const std::size_t got = read_(buffer_.get() + held_, chunk_);
        if (got == 0) {
            ended_ = true;
            continue;
        }
        // The byte before the new ones may be a CR that only now is known
        // to end a line; the bytes before it hold no line end.
        const std::size_t from = held_ ? held_ - 1 : 0;
        held_ += got;
        const std::size_t cut = LastCertainLineEnd(std::string_view(buffer_.get(), held_), from);
        if (cut != std::string_view::npos) {
            lines = std::string_view(buffer_.get(), cut);
            handedOut_ = cut;
            return true;
        }
    }
}

fileio::ReadResult ReadCp932Lines(const std::string& path, std::vector<std::string>& lines, std::uint64_t limit)
{
    std::string bytes;
    const fileio::ReadResult read = fileio::ReadWholeFile(path, bytes, limit);
    if (!read.ok())
        return read;
    lines.clear();
    for (std::string_view line : SplitLines(bytes))
        lines.push_back(cp932::toUtf8(line));
    return read;
}

} // namespace kovra::text
