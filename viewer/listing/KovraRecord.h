// One decoded listing: 94 read-only display texts (UTF-8) in field order.
#pragma once

#include "FieldNames.h"
#include "Vocabulary.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra {

class RecordBuilder;

namespace detail {
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
} // namespace detail

// Storage for the texts of many records: a table of a million listings
// takes its memory in large blocks instead of one allocation per listing.
// Records made in an arena are valid as long as the arena lives.
class RecordArena {
public:
    unsigned char* allocate(std::size_t bytes);
    void adopt(RecordArena&& other); // takes over the other arena's blocks

private:
    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    unsigned char* next_ = nullptr;
    std::size_t left_ = 0;
};

// The texts live in one compact buffer per record: each field is either a
// one-byte index into kVocabulary or an inline text with its length.  A
// record is filled once by the decoder and never changed afterwards.
class TKovraDataClass {
public:
    TKovraDataClass() = default;
    TKovraDataClass(TKovraDataClass&&) noexcept = default;
    TKovraDataClass& operator=(TKovraDataClass&&) noexcept = default;

    // Text of field `index` (0..93); empty for a record never decoded.
    std::string_view field(int index) const;
    std::string_view field(Field f) const { return field(static_cast<int>(f)); }

    // Visits all 94 fields in order in one pass (field(i) walks from the
    // start on every call): fn(index, text, word), where `word` is the
    // text's index into kVocabulary, or kInlineTag for a text of its own.
    // Nothing is visited for a record never decoded.
    template <class Fn>
    void forEachField(Fn&& fn) const;

#define KOVRA_FIELD_ACCESSOR(name) \
    std::string_view name() const { return field(Field::name); }
    KOVRA_LISTING_FIELDS(KOVRA_FIELD_ACCESSOR)
#undef KOVRA_FIELD_ACCESSOR

private:
    friend class RecordBuilder;
    const unsigned char* data_ = nullptr;
    std::unique_ptr<unsigned char[]> owned_; // a record made without an arena owns its texts
};

template <class Fn>
void TKovraDataClass::forEachField(Fn&& fn) const
{
    if (!data_)
        return;
    const unsigned char* p = data_;
    for (int i = 0; i < kFieldCount; ++i) {
        const Word tag = *p++;
        if (tag == kInlineTag) {
            const std::size_t len = detail::readLength(p);
            fn(i, std::string_view(reinterpret_cast<const char*>(p), len), tag);
            p += len;
        } else {
            fn(i, kVocabulary[tag], tag);
        }
    }
}

// Collects the fields of one record in order.  Reused across records, so
// decoding allocates nothing per field.
class RecordBuilder {
public:
    void clear() { buf_.clear(); fields_ = 0; }

    void add(Word w);                                  // a fixed text
    void add(std::string_view text);                   // any text
    void add(std::string_view a, std::string_view b);  // two texts joined
    void addWithUnit(std::string_view number, Word markerWithUnit, std::string_view unit);

    // Fills the remaining fields with the empty text and moves the result
    // out; its texts go into `arena` when given, else the record owns them.
    TKovraDataClass finish(RecordArena* arena = nullptr);

private:
    void inlineText(std::string_view a, std::string_view b);
    std::string buf_;
    int fields_ = 0;
};

} // namespace kovra
