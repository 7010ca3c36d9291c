// One decoded listing: 94 read-only display texts (UTF-8) in field order.
#pragma once

#include "FieldNames.h"
#include "Vocabulary.h"

#include <memory>
#include <string>
#include <string_view>

namespace kovra {

class RecordBuilder;

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

#define KOVRA_FIELD_ACCESSOR(name) \
    std::string_view name() const { return field(Field::name); }
    KOVRA_LISTING_FIELDS(KOVRA_FIELD_ACCESSOR)
#undef KOVRA_FIELD_ACCESSOR

    // Bytes the record holds on the heap (for the memory benchmark).
    std::size_t heapBytes() const { return size_; }

private:
    friend class RecordBuilder;
    std::unique_ptr<unsigned char[]> data_;
    std::uint32_t size_ = 0;
};

// Collects the fields of one record in order.  Reused across records so
// that decoding a file costs one allocation per listing.
class RecordBuilder {
public:
    void clear() { buf_.clear(); fields_ = 0; }
    int fieldsAdded() const { return fields_; }

    void add(Word w);                                  // a fixed text
    void add(std::string_view text);                   // any text
    void add(std::string_view a, std::string_view b);  // two texts joined
    void addWithUnit(std::string_view number, Word markerWithUnit, std::string_view unit);

    // Fills the remaining fields with the empty text and moves the result out.
    TKovraDataClass finish();

private:
    void inlineText(std::string_view a, std::string_view b);
    std::string buf_;
    int fields_ = 0;
};

} // namespace kovra
