#include "WholeLines.h"

#include <cstring>
#include <new>

namespace kovra {

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

} // namespace kovra
