#include "KovraRecord.h"

#include <cstring>

namespace kovra {

Word findWord(std::string_view text)
{
    // Only the short texts are worth a look: numbers 0..10 and single letters.
    for (std::size_t i = 0; i < kVocabulary.size(); ++i)
        if (kVocabulary[i] == text)
            return static_cast<Word>(i);
    return kInlineTag;
}

std::string_view TKovraDataClass::field(int index) const
{
    if (!data_ || index < 0 || index >= kFieldCount)
        return {};
    const unsigned char* p = data_;
    for (int i = 0;; ++i) {
        const unsigned char tag = *p++;
        std::size_t len = 0;
        if (tag == kInlineTag)
            len = detail::readLength(p);
        if (i == index)
            return tag == kInlineTag ? std::string_view(reinterpret_cast<const char*>(p), len)
                                     : kVocabulary[tag];
        p += len;
    }
}

void RecordBuilder::add(Word w)
{
    buf_.push_back(static_cast<char>(w));
    ++fields_;
}

void RecordBuilder::inlineText(std::string_view a, std::string_view b)
{
    std::size_t len = a.size() + b.size();
    buf_.push_back(static_cast<char>(kInlineTag));
    while (len >= 0x80) {
        buf_.push_back(static_cast<char>(0x80 | (len & 0x7F)));
        len >>= 7;
    }
    buf_.push_back(static_cast<char>(len));
    buf_.append(a);
    buf_.append(b);
    ++fields_;
}

void RecordBuilder::add(std::string_view text)
{
    if (text.empty()) {
        add(word(""));
    } else if (text.size() <= 2) {
        const Word w = findWord(text);
        if (w != kInlineTag)
            add(w);
        else
            inlineText(text, {});
    } else {
        inlineText(text, {});
    }
}

void RecordBuilder::add(std::string_view a, std::string_view b)
{
    if (b.empty())
        add(a);
    else if (a.empty())
        add(b);
    else
        inlineText(a, b);
}

void RecordBuilder::addWithUnit(std::string_view number, Word markerWithUnit, std::string_view unit)
{
    if (number == "-----")
        add(markerWithUnit);
    else
        add(number, unit);
}

TKovraDataClass RecordBuilder::finish(RecordArena* arena)
{
    while (fields_ < kFieldCount)
        add(word(""));
    TKovraDataClass record;
    unsigned char* bytes = nullptr;
    if (arena) {
        bytes = arena->allocate(buf_.size());
    } else {
        record.owned_ = std::make_unique_for_overwrite<unsigned char[]>(buf_.size());
        bytes = record.owned_.get();
    }
    std::memcpy(bytes, buf_.data(), buf_.size());
    record.data_ = bytes;
    clear();
    return record;
}

unsigned char* RecordArena::allocate(std::size_t bytes)
{
    constexpr std::size_t kBlock = 1 << 20;
    if (bytes > left_) {
        const std::size_t size = bytes > kBlock / 4 ? bytes : kBlock; // a huge record gets a block of its own
        blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(size));
        if (size == bytes)
            return blocks_.back().get();
        next_ = blocks_.back().get();
        left_ = size;
    }
    unsigned char* p = next_;
    next_ += bytes;
    left_ -= bytes;
    return p;
}

void RecordArena::adopt(RecordArena&& other)
{
    for (auto& block : other.blocks_)
        blocks_.push_back(std::move(block));
    other.blocks_.clear();
    other.next_ = nullptr;
    other.left_ = 0;
}

} // namespace kovra
