#include "Cp932Codec.h"
#include "Utf8.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace cp932 {
namespace {

#include "Cp932DecodeTable.inc"

constexpr char16_t kReplacement = 0xFFFD;

inline bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline int leadIndex(unsigned char b) { return b <= 0x9F ? b - 0x81 : b - 0xE0 + 31; }
inline bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

inline void putUtf8(std::string& out, char32_t c) { kovra::utf8::Append(c, out); }

// Which of several CP932 codes Windows writes for one character: JIS X 0208
// rows first, then the NEC row 13, then the IBM rows (FA-FC), and the
// NEC-selected IBM rows (ED-EE) last.
int codeRank(unsigned lead)
{
    if (lead == 0x87) return 1;
    if (lead >= 0xFA) return 2;
    if (lead == 0xED || lead == 0xEE) return 3;
    return 0;
}

struct EncodeTable {
    std::array<std::uint16_t, 0x10000> code{}; // 0 = unmappable (U+0000 is handled apart)
    EncodeTable()
    {
        for (unsigned b = 0; b < 0x80; ++b)
            code[b] = static_cast<std::uint16_t>(b);
        for (unsigned b = 0x80; b < 0x100; ++b) {
            char16_t u = kSingleHigh[b - 0x80];
            if (u != 0 && u != kReplacement && code[u] == 0)
                code[u] = static_cast<std::uint16_t>(b);
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(static_cast<unsigned char>(lead)))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                char16_t u = kDouble[leadIndex(static_cast<unsigned char>(lead))][trail - 0x40];
                if (u == kReplacement)
                    continue;
                std::uint16_t& slot = code[u];
                if (slot == 0 || (slot > 0xFF && codeRank(lead) < codeRank(slot >> 8)))
                    slot = static_cast<std::uint16_t>((lead << 8) | trail);
            }
        }
    }
};

const EncodeTable& encodeTable()
{
    static const auto table = std::make_unique<EncodeTable>();
    return *table;
}

} // namespace

void appendUtf8(std::string& out, std::string_view bytes)
{
    out.reserve(out.size() + bytes.size() + bytes.size() / 2);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Plain ASCII runs are the bulk of a listing file: copy them whole.
        std::size_t run = i;
        for (; run + 8 <= n; run += 8) { // eight bytes at a time while all are ASCII
            std::uint64_t word;
            std::memcpy(&word, p + run, 8);
            if (word & 0x8080808080808080ull)
                break;
        }
        while (run < n && p[run] < 0x80)
            ++run;
        if (run > i) {
            out.append(bytes.data() + i, run - i);
            i = run;
            continue;
        }
        const unsigned char b = p[i];
        if (!isLead(b)) {
            char16_t u = kSingleHigh[b - 0x80];
            putUtf8(out, u ? u : kReplacement);
            ++i;
            continue;
        }
        if (i + 1 >= n || !isTrail(p[i + 1])) {
            putUtf8(out, kReplacement); // the next byte is read again on its own
            ++i;
            continue;
        }
        const unsigned char t = p[i + 1];
        const char16_t u = kDouble[leadIndex(b)][t - 0x40];
        putUtf8(out, u);
        // An unassigned pair with an ASCII second byte gives that byte back.
        i += (u == kReplacement && t < 0x80) ? 1 : 2;
    }
}

std::string toUtf8(std::string_view bytes)
{
    std::string out;
    appendUtf8(out, bytes);
    return out;
}

char32_t nextCodePoint(std::string_view s, std::size_t& i)
{
    const auto* start = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* p = start + i;
    const char32_t c = kovra::utf8::Next(p, start + s.size());
    i = static_cast<std::size_t>(p - start);
    return c;
}

namespace {

// The CP932 form of `utf8`; a character CP932 lacks goes to
// `lacking(out, c, malformed)`, which writes its stand-in.
template <class Lacking>
void encode(std::string& out, std::string_view utf8, Lacking&& lacking)
{
    const EncodeTable& table = encodeTable();
    out.reserve(out.size() + utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t c = nextCodePoint(utf8, i);
        const bool malformed = c == kReplacement && !(i - start == 3 && utf8.substr(start, 3) == "\xEF\xBF\xBD");
        const std::uint16_t code = (c < 0x10000 && !malformed) ? table.code[c] : 0;
        if (code == 0) {
            lacking(out, c, malformed);
        } else if (code < 0x100) {
            out.push_back(static_cast<char>(code));
        } else {
            out.push_back(static_cast<char>(code >> 8));
            out.push_back(static_cast<char>(code & 0xFF));
        }
    }
}

} // namespace

void appendCp932(std::string& out, std::string_view utf8, std::size_t* unmappable)
{
    std::size_t bad = 0;
    encode(out, utf8, [&bad](std::string& o, char32_t, bool) {
        o.push_back('?');
        ++bad;
    });
    if (unmappable)
        *unmappable += bad;
}

void appendCp932Html(std::string& out, std::string_view utf8)
{
    encode(out, utf8, [](std::string& o, char32_t c, bool malformed) {
        if (malformed) {
            o.push_back('?');
            return;
        }
        static const char digits[] = "0123456789ABCDEF";
        char hex[8];
        int n = 0;
        do {
            hex[n++] = digits[c & 0xF];
            c >>= 4;
        } while (c);
        o += "&#x";
        while (n)
            o.push_back(hex[--n]);
        o.push_back(';');
    });
}

void addLackingCharacters(std::string& found, std::string_view utf8)
{
    std::string scratch;
    encode(scratch, utf8, [&found](std::string&, char32_t c, bool malformed) {
        if (malformed)
            c = kReplacement;
        std::string one;
        putUtf8(one, c);
        if (found.find(one) == std::string::npos)
            found += one;
    });
}

std::string fromUtf8(std::string_view utf8, std::size_t* unmappable)
{
    std::string out;
    appendCp932(out, utf8, unmappable);
    return out;
}

} // namespace cp932
