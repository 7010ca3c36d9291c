#include "KovraRecord.h"

#include <cstring>

namespace kovra {

namespace {

// Inline texts carry their length as a base-128 varint after the tag.
inline std::size_t readLength(const unsigned char*& p)
{
    std::size_t len = 0;
    int shift = 0;
    while (*p & 0x80) {
        len |= static_cast<std::size_t>(*p++ & 0x7F) << shift;
        shift += 7;
    }
    len |= static_cast<std::size_t>(*p++) << shift;
    return len;
}

} // namespace

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
    const unsigned char* p = data_.get();
    for (int i = 0;; ++i) {
        const unsigned char tag = *p++;
        std::size_t len = 0;
        if (tag == kInlineTag)
            len = readLength(p);
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

TKovraDataClass RecordBuilder::finish()
{
    while (fields_ < kFieldCount)
        add(word(""));
    TKovraDataClass record;
    record.size_ = static_cast<std::uint32_t>(buf_.size());
    record.data_ = std::make_unique_for_overwrite<unsigned char[]>(buf_.size());
    std::memcpy(record.data_.get(), buf_.data(), buf_.size());
    clear();
    return record;
}

} // namespace kovra
