#include "TextFolding.h"

#include "UnicodeServices.h"
#include "Utf8.h"

#include <cstdint>
#include <memory>

namespace kovra::search {

namespace {

char32_t HiraganaToKatakana(char32_t c)
{
    return (c >= 0x3041 && c <= 0x3096) ? c + 0x60 : c;
}

// The whole folding of a piece of text through the Unicode services.
template <class String>
void FoldThroughServices(std::string_view text, String& out)
{
    const std::string folded = unicode::CaseFold(unicode::Nfkc(text));
    const auto* p = reinterpret_cast<const unsigned char*>(folded.data());
    const auto* end = p + folded.size();
    while (p < end)
        utf8::Append(HiraganaToKatakana(utf8::Next(p, end)), out);
}

// Calling the library for every text of a big file is far too slow, but
// NFKC only ever joins a character with the ones before it when the later
// one lacks a "boundary before".  So a text is cut before every character
// that has one, and the pieces fold alone.  Nearly every piece is one
// character, whose folding is asked once and kept here; most characters
// fold to themselves, and runs of those are copied whole.  Longer pieces
// (a letter with combining marks, half-width kana with a voicing mark) go
// to the library whole.
class Folder {
public:
    template <class String>
    void append(std::string_view text, String& out)
    {
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const auto* const end = p + text.size();
        const unsigned char* run = p;        // characters that fold to themselves, not yet copied
        const unsigned char* last = nullptr; // start of the run's last character
        bool lastInOut = false;              // the previous character's folding ends `out`
        char32_t lastChar = 0;
        std::size_t lastLength = 0;
        auto copyRun = [&](const unsigned char* upTo) {
            out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(upTo - run));
        };
        while (p < end) {
            if (piece_.empty()) {
                if (const unsigned char* skipped = skipClean(p, end)) {
                    last = skipped, lastInOut = false;
                    if (p == end)
                        break;
                }
            }
            const unsigned char* at = p;
            const char32_t c = *p < 0x80 ? *p++ : utf8::Next(p, end);
            const std::uint8_t flags = this->flags(c);
            if (!(flags & kBoundaryBefore)) {
                // Joins the character before it into a piece folded whole.
                if (piece_.empty()) {
                    if (last) {
                        copyRun(last);
                        piece_.append(reinterpret_cast<const char*>(last), static_cast<std::size_t>(at - last));
                    } else if (lastInOut) {
                        out.resize(out.size() - lastLength);
                        utf8::Append(lastChar, piece_);
                    }
                }
                utf8::Append(c, piece_);
                run = p, last = nullptr, lastInOut = false;
                continue;
            }
            if (!piece_.empty()) {
                FoldThroughServices(piece_, out);
                piece_.clear();
            }
            if (flags & kSame) {
                last = at;
                lastInOut = false;
                continue;
            }
            copyRun(at);
            const std::size_t before = out.size();
            appendFolded(c, out);
            lastChar = c, lastLength = out.size() - before, lastInOut = true;
            run = p, last = nullptr;
        }
        if (!piece_.empty()) {
            FoldThroughServices(piece_, out);
            piece_.clear();
        } else {
            copyRun(end);
        }
    }

private:
    static constexpr std::uint8_t kKnown = 1, kSame = 2, kBoundaryBefore = 4;
    static constexpr std::uint8_t kClean = kKnown | kSame | kBoundaryBefore;

    // Moves `p` over characters known to fold to themselves and to start a
    // piece, without the general decoding: ASCII and three-byte characters
    // (kana, kanji) by the table, kanji mostly by their block of 64, which
    // keeps the table out of the cache.  Returns the start of the last
    // one, or null when none.
    const unsigned char* skipClean(const unsigned char*& p, const unsigned char* end)
    {
        const std::uint8_t* const flags = flags_.get();
        const std::uint8_t* const blocks = blocks_.get();
        const unsigned char* last = nullptr;
        while (p < end) {
            const unsigned char b = *p;
            if (b < 0x80) {
                if (flags[b] != kClean)
                    break;
                last = p++;
                continue;
            }
            if ((b & 0xF0) != 0xE0 || end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80)
                break;
            const unsigned block = (b & 0x0Fu) << 6 | (p[1] & 0x3Fu);
            const std::uint8_t state = blocks[block];
            if (state == kUnknownBlock) {
                learnBlock(block);
                continue;
            }
            if (state == kMixedBlock) {
                const char32_t c = static_cast<char32_t>(block) << 6 | (p[2] & 0x3Fu);
                if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) || flags[c] != kClean) // malformed, or not known clean
                    break;
            }
            last = p;
            p += 3;
        }
        return last;
    }

    static constexpr std::uint8_t kUnknownBlock = 0, kCleanBlock = 1, kMixedBlock = 2;

    // A block is clean when every one of its 64 characters starts a piece
    // and the whole block folds to itself (then so does each character, as
    // none folds to nothing).
    bool learnBlock(unsigned block)
    {
        const char32_t first = static_cast<char32_t>(block) << 6, lastChar = first + 63;
        bool clean = first >= 0x800 && !(lastChar >= 0xD800 && first <= 0xDFFF) && // not overlong, no surrogates
                     !(lastChar >= 0x3041 && first <= 0x3096);                      // hiragana moves
        std::string all;
        for (char32_t c = first; clean && c <= lastChar; ++c) {
            clean = unicode::NfkcBoundaryBefore(c);
            utf8::Append(c, all);
        }
        clean = clean && unicode::CaseFold(unicode::Nfkc(all)) == all;
        blocks_[block] = clean ? kCleanBlock : kMixedBlock;
        return clean;
    }

    // What is known of a character; a small table so that it stays in the
    // cache.  Characters beyond the BMP are rare and asked every time.
    std::uint8_t flags(char32_t c)
    {
        if (c >= 0x10000)
            return learn(c);
        const std::uint8_t f = flags_[c];
        return (f & kKnown) ? f : learn(c);
    }

    template <class String>
    void appendFolded(char32_t c, String& out)
    {
        if (c >= 0x10000) {
            out.append(scratch_.data(), scratch_.size());
            return;
        }
        const std::uint32_t w = where_[c];
        out.append(pool_.data() + (w >> 8), w & 0xFF);
    }

    std::uint8_t learn(char32_t c)
    {
        std::string alone;
        utf8::Append(c, alone);
        std::string folded;
        FoldThroughServices(alone, folded);
        std::uint8_t f = kKnown;
        if (folded == alone && c != utf8::kReplacement) // a malformed byte is never copied
            f |= kSame;
        if (unicode::NfkcBoundaryBefore(c))
            f |= kBoundaryBefore;
        if (c >= 0x10000) {
            scratch_ = std::move(folded);
            return f;
        }
        if (!(f & kSame)) {
            if (folded.size() > 0xFF) // no single character folds to this much; keep the table small
                folded.resize(0);
            where_[c] = static_cast<std::uint32_t>(pool_.size() << 8 | folded.size());
            pool_ += folded;
        }
        flags_[c] = f;
        return f;
    }

    std::unique_ptr<std::uint8_t[]> flags_ = std::make_unique<std::uint8_t[]>(0x10000);
    std::unique_ptr<std::uint8_t[]> blocks_ = std::make_unique<std::uint8_t[]>(0x400); // three-byte characters by 64
    std::unique_ptr<std::uint32_t[]> where_ = std::make_unique<std::uint32_t[]>(0x10000); // pool offset << 8 | length
    std::string pool_;
    std::string scratch_;
    std::string piece_; // characters of a piece of more than one, unfolded
};

// One folder per thread: the index may be built off the GUI thread while
// the search box folds what the user types.
Folder& ThreadFolder()
{
    thread_local Folder folder;
    return folder;
}

} // namespace

template <class String>
void AppendFolded(std::string_view text, String& out)
{
    ThreadFolder().append(text, out);
}
template void AppendFolded(std::string_view, std::string&);
template void AppendFolded(std::string_view, LargeString&);

std::string FoldText(std::string_view text)
{
    std::string out;
    AppendFolded(text, out);
    return out;
}

std::vector<std::string> SplitAtWhiteSpace(std::string_view text)
{
    const std::string normalized = unicode::Nfkc(text);
    std::vector<std::string> pieces;
    std::string piece;
    const auto* p = reinterpret_cast<const unsigned char*>(normalized.data());
    const auto* end = p + normalized.size();
    while (p < end) {
        const unsigned char* at = p;
        const char32_t c = utf8::Next(p, end);
        if (unicode::IsWhiteSpace(c)) {
            if (!piece.empty())
                pieces.push_back(std::move(piece));
            piece.clear();
        } else {
            piece.append(reinterpret_cast<const char*>(at), static_cast<std::size_t>(p - at));
        }
    }
    if (!piece.empty())
        pieces.push_back(std::move(piece));
    return pieces;
}

} // namespace kovra::search
