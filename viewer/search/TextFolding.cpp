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
void FoldThroughServices(std::string_view text, std::string& out)
{
    const std::string folded = unicode::CaseFold(unicode::Nfkc(text));
    const auto* p = reinterpret_cast<const unsigned char*>(folded.data());
    const auto* end = p + folded.size();
    while (p < end)
        utf8::Append(HiraganaToKatakana(utf8::Next(p, end)), out);
}

// Calling the library for every text of a big file is far too slow, but
// NFKC only ever joins a character with the ones before it when the
// later one lacks a "boundary before".  So a text is cut before every
// character that has one, and the pieces fold alone.  Nearly every piece
// is one character, whose folding is asked once and kept here; longer
// pieces (a letter with combining marks, half-width kana with a voicing
// mark) go to the library whole.
class Folder {
public:
    void append(std::string_view text, std::string& out)
    {
        lastPending_ = false;
        const auto* p = reinterpret_cast<const unsigned char*>(text.data());
        const auto* end = p + text.size();
        while (p < end) {
            const unsigned char* at = p;
            const char32_t c = utf8::Next(p, end);
            const Entry& e = entry(c);
            if (e.boundaryBefore) {
                flush(out);
                const std::size_t before = out.size();
                if (e.same)
                    out.append(reinterpret_cast<const char*>(at), static_cast<std::size_t>(p - at));
                else
                    out.append(e.external ? scratch_ : pool_, e.offset, e.length);
                lastChar_ = c;
                lastFoldedLength_ = out.size() - before;
                lastPending_ = true;
            } else {
                join(c, out);
            }
        }
        flush(out);
    }

private:
    struct Entry {
        std::uint32_t offset = 0; // of the folded text in pool_ (scratch_ when external)
        std::uint16_t length = 0;
        bool known = false;
        bool same = false;        // folds to itself
        bool external = false;
        bool boundaryBefore = false;
    };

    // Characters beyond the BMP are rare and not kept: they fold into
    // scratch_ each time.
    const Entry& entry(char32_t c)
    {
        Entry* e = &beyondBmp_;
        if (c < 0x10000) {
            if (!bmp_)
                bmp_ = std::make_unique<Entry[]>(0x10000);
            e = &bmp_[c];
            if (e->known)
                return *e;
        }
        std::string alone;
        utf8::Append(c, alone);
        std::string folded;
        FoldThroughServices(alone, folded);
        e->same = folded == alone && c != utf8::kReplacement; // a malformed byte is not copied

        e->external = c >= 0x10000;
        e->boundaryBefore = unicode::NfkcBoundaryBefore(c);
        e->length = static_cast<std::uint16_t>(folded.size());
        if (e->external) {
            e->offset = 0;
            scratch_ = std::move(folded);
        } else if (!e->same) {
            e->offset = static_cast<std::uint32_t>(pool_.size());
            pool_ += folded;
        }
        e->known = true;
        return *e;
    }

    // A character without a boundary before it joins the piece before it:
    // the folded form of that piece's first character is taken back out of
    // `out` and the piece folds whole when it ends.
    void join(char32_t c, std::string& out)
    {
        if (lastPending_) {
            out.resize(out.size() - lastFoldedLength_);
            utf8::Append(lastChar_, piece_);
            lastPending_ = false;
        }
        utf8::Append(c, piece_);
    }

    void flush(std::string& out)
    {
        lastPending_ = false;
        if (piece_.empty())
            return;
        FoldThroughServices(piece_, out);
        piece_.clear();
    }

    std::unique_ptr<Entry[]> bmp_;
    Entry beyondBmp_;
    std::string pool_;
    std::string scratch_;
    std::string piece_;       // a piece of more than one character, unfolded
    char32_t lastChar_ = 0;   // a piece of one character, already folded into `out`
    std::size_t lastFoldedLength_ = 0;
    bool lastPending_ = false;
};

// One folder per thread: the index may be built off the GUI thread while
// the search box folds what the user types.
Folder& ThreadFolder()
{
    thread_local Folder folder;
    return folder;
}

} // namespace

void AppendFolded(std::string_view text, std::string& out)
{
    ThreadFolder().append(text, out);
}

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
