#include "HtmlPage.h"

#include "Cp932Codec.h"
#include "MessageTexts.h"
#include "TextLines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kovra::html {

namespace {

constexpr std::array<std::string_view, 7> kUserNames = {
    "UserName", "UserYubin", "UserJyusyo", "UserTel", "UserFax", "UserMail", "UserHp",
};

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }
inline bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool equalsIgnoringCase(const char* a, std::string_view b)
{
    for (std::size_t i = 0; i < b.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::size_t findIgnoringCase(std::string_view hay, std::string_view needle, std::size_t from)
{
    if (needle.empty() || hay.size() < needle.size())
        return std::string_view::npos;
    const std::size_t last = hay.size() - needle.size(); // last possible start
    const char first = needle.front();
    const char* base = hay.data();
    std::size_t pos = from;
    while (pos <= last) {
        if (isLetter(first)) {
            while (pos <= last && lowerAscii(base[pos]) != lowerAscii(first))
                ++pos;
            if (pos > last)
                return std::string_view::npos;
        } else {
            const void* hit = std::memchr(base + pos, first, last - pos + 1);
            if (!hit)
                return std::string_view::npos;
            pos = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        }
        if (equalsIgnoringCase(base + pos + 1, needle.substr(1)))
            return pos;
        ++pos;
    }
    return std::string_view::npos;
}

// Replaces from the first occurrence at `pos` onwards.
std::size_t replaceFrom(std::string& page, std::size_t pos, std::string_view token, std::string_view value,
                        std::string& scratch)
{
    scratch.clear();
    std::size_t copied = 0, count = 0;
    const std::string_view text(page);
    while (pos != std::string_view::npos) {
        scratch.append(text.substr(copied, pos - copied));
        scratch.append(value);
        copied = pos + token.size();
        ++count;
        pos = findIgnoringCase(text, token, copied);
    }
    scratch.append(text.substr(copied));
    page.swap(scratch);
    return count;
}

std::string_view userValue(const UserTexts& u, int item)
{
    switch (static_cast<UserItem>(item)) {
    case UserItem::Name: return u.Name;
    case UserItem::Yubin: return u.Yubin;
    case UserItem::Jyusyo: return u.Jyusyo;
    case UserItem::Tel: return u.Tel;
    case UserItem::Fax: return u.Fax;
    case UserItem::Email: return u.Email;
    case UserItem::Hp: return u.Hp;
    }
    return {};
}

bool isReservedDeviceName(std::string_view stem)
{
    // Windows keeps these names for devices whatever extension follows.
    std::string_view base = stem.substr(0, stem.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string lower;
    for (char c : base)
        lower.push_back(lowerAscii(c));
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul")
        return true;
    return lower.size() == 4 && (lower.starts_with("com") || lower.starts_with("lpt")) && lower[3] >= '1' &&
           lower[3] <= '9';
}

} // namespace

std::optional<Token> ParsePlaceholder(std::string_view text)
{
    if (text.size() < 5 || !text.starts_with("/*") || !text.ends_with("*/"))
        return std::nullopt;
    const std::string_view name = text.substr(2, text.size() - 4);
    Token t;
    t.text = std::string(text);
    if (const int f = fieldIndex(name); f >= 0) {
        t.kind = TokenKind::Field;
        t.index = f;
    } else if (name == "KensakuNengappi") {
        t.kind = TokenKind::KensakuNengappi;
    } else if (name == "NextFileName") {
        t.kind = TokenKind::NextFileName;
    } else if (name == "BackFileName") {
        t.kind = TokenKind::BackFileName;
    } else {
        int u = 0;
        while (u < static_cast<int>(kUserNames.size()) && kUserNames[static_cast<std::size_t>(u)] != name)
            ++u;
        if (u == static_cast<int>(kUserNames.size()))
            return std::nullopt;
        t.kind = TokenKind::User;
        t.index = u;
    }
    return t;
}

std::vector<std::string> AllPlaceholders()
{
    std::vector<std::string> all;
    auto add = [&all](std::string_view name) { all.push_back("/*" + std::string(name) + "*/"); };
    for (std::string_view f : kFieldNames)
        add(f);
    add("KensakuNengappi");
    for (std::string_view u : kUserNames)
        add(u);
    add("NextFileName");
    add("BackFileName");
    return all;
}

std::string LookupPlaceholder(const TKovraDataClass& record, std::string_view token,
                              std::string_view kensakuNengappi, const UserTexts& user)
{
    const std::optional<Token> t = ParsePlaceholder(token);
    if (!t)
        return "err";
    switch (t->kind) {
    case TokenKind::Field: return std::string(record.field(t->index));
    case TokenKind::KensakuNengappi: return std::string(kensakuNengappi);
    case TokenKind::User: return std::string(userValue(user, t->index));
    case TokenKind::NextFileName:
    case TokenKind::BackFileName: return {};
    }
    return "err";
}

FieldList ReadFieldList(std::string_view bytes)
{
    // An editor's UTF-8 byte order mark is no part of the first token.
    const bool utf8 = bytes.starts_with("\xEF\xBB\xBF");
    if (utf8)
        bytes.remove_prefix(3);
    FieldList list;
    int lineNo = 0;
    for (std::string_view line : text::SplitLines(bytes)) {
        ++lineNo;
        std::optional<Token> t = ParsePlaceholder(line);
        if (!t) {
            list.tokens.clear();
            list.namesPages = false;
            list.errorLine = lineNo;
            // Shift-JIS like every file beside the program, unless an
            // editor marked it as UTF-8.
            list.errorText = utf8 ? std::string(line) : cp932::toUtf8(line);
            return list;
        }
        if (t->kind == TokenKind::Field && t->index == static_cast<int>(Field::BukkennNum))
            list.namesPages = true;
        list.tokens.push_back(std::move(*t));
    }
    return list;
}

Encoding DetectEncoding(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return Encoding::Utf8;
    const std::string_view head = bytes.substr(0, 1024);
    std::size_t pos = 0;
    while ((pos = findIgnoringCase(head, "charset", pos)) != std::string_view::npos) {
        std::size_t i = pos + 7;
        auto skip = [&](std::string_view set) {
            while (i < head.size() && set.find(head[i]) != std::string_view::npos)
                ++i;
        };
        skip(" \t\r\n");
        if (i < head.size() && head[i] == '=') {
            ++i;
            skip(" \t\r\n\"'");
            const std::string_view rest = head.substr(i);
            if ((rest.size() >= 5 && equalsIgnoringCase(rest.data(), "utf-8")) ||
                (rest.size() >= 4 && equalsIgnoringCase(rest.data(), "utf8")))
                return Encoding::Utf8;
        }
        pos += 7;
    }
    return Encoding::Cp932;
}

void AppendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out.push_back(c);
        }
    }
}

std::optional<std::string> UnsafePageNameReason(std::string_view number)
{
    if (number.empty())
        return std::string(msg::kNumberEmpty);
    if (number.find_first_of("/\\") != std::string_view::npos)
        return std::string(msg::kNumberHasSeparator);
    if (number.find(':') != std::string_view::npos)
        return std::string(msg::kNumberHasDrive);
    if (number.find_first_not_of('.') == std::string_view::npos)
        return std::string(msg::kNumberIsDots);
    for (unsigned char c : number)
        if (c < 0x20 || c == 0x7F || std::strchr("<>\"|?*", c) != nullptr)
            return std::string(msg::kNumberHasBadCharacter);
    if (isReservedDeviceName(number))
        return std::string(msg::kNumberIsReservedName);
    if (number.size() > 200)
        return std::string(msg::kNumberTooLong);
    return std::nullopt;
}

std::size_t ReplaceIgnoringCase(std::string& page, std::string_view token, std::string_view value,
                                std::string& scratch)
{
    const std::size_t pos = findIgnoringCase(page, token, 0);
    if (pos == std::string_view::npos)
        return 0;
    return replaceFrom(page, pos, token, value, scratch);
}

PageMaker::PageMaker(std::string templateBytes, std::vector<Token> tokens, std::string_view kensakuNengappi,
                     const UserTexts& user)
    // Pages are saved with every line ended by CR LF, whatever the
    // template's own line ends: the template is brought to them once, and so
    // are the user's texts (a hand-edited settings store may hold a line
    // break); listing texts come from one line and hold none.
    : template_(text::WithCrLfLineEnds(templateBytes, true)), tokens_(std::move(tokens)),
      encoding_(DetectEncoding(template_))
{
    appendValue(kensaku_, kensakuNengappi);
    for (int i = 0; i < 7; ++i)
        appendValue(user_[i], text::WithCrLfLineEnds(userValue(user, i), false));
    values_.resize(tokens_.size());
    valueReady_.resize(tokens_.size());
    findOccurrences();
}

void PageMaker::appendValue(std::string& out, std::string_view utf8) const
{
    if (encoding_ == Encoding::Utf8) {
        AppendEscaped(out, utf8);
        return;
    }
    std::string escaped;
    AppendEscaped(escaped, utf8);
    // A character Shift-JIS lacks goes in as a character reference, which
    // the page shows all the same.
    cp932::appendCp932Html(out, escaped);
}

// The pages are defined line by line: each FieldList line replaces its
// token throughout the text the earlier lines left.  Doing that literally
// scans the page once per line.  When the template keeps every token
// occurrence apart from letters, digits and "*", and no value holds a "*",
// no replacement can create, split or destroy another occurrence (every
// token starts with "/*" and ends with "*/" around letters and digits),
// so each occurrence in the template simply gets the value of the first
// line that matches it: one pass.  Otherwise the page is made line by line.
void PageMaker::findOccurrences()
{
    onePassTemplate_ = false;
    occurrences_.clear();
    for (std::size_t t = 0; t < tokens_.size(); ++t) {
        const std::string_view token = tokens_[t].text;
        bool earlierLineHasIt = false;
        for (std::size_t u = 0; u < t && !earlierLineHasIt; ++u)
            earlierLineHasIt = tokens_[u].text.size() == token.size() && equalsIgnoringCase(tokens_[u].text.data(), token);
        if (earlierLineHasIt)
            continue;
        for (std::size_t pos = findIgnoringCase(template_, token, 0); pos != std::string_view::npos;
             pos = findIgnoringCase(template_, token, pos + 1))
            occurrences_.push_back({pos, token.size(), t});
    }
    std::sort(occurrences_.begin(), occurrences_.end(),
              [](const Occurrence& a, const Occurrence& b) { return a.pos < b.pos; });
    auto sticky = [](char c) { return c == '*' || (c >= '0' && c <= '9') || isLetter(c); };
    for (std::size_t i = 0; i < occurrences_.size(); ++i) {
        const Occurrence& o = occurrences_[i];
        if (i > 0 && occurrences_[i - 1].pos + occurrences_[i - 1].length > o.pos)
            return; // overlapping occurrences
        if (o.pos > 0 && sticky(template_[o.pos - 1]))
            return;
        if (o.pos + o.length < template_.size() && sticky(template_[o.pos + o.length]))
            return;
    }
    onePassTemplate_ = true;
}

const std::string& PageMaker::valueOf(std::size_t token, const TKovraDataClass& record,
                                      const std::optional<std::string_view>& next,
                                      const std::optional<std::string_view>& back)
{
    const Token& t = tokens_[token];
    switch (t.kind) {
    case TokenKind::KensakuNengappi: return kensaku_;
    case TokenKind::User: return user_[t.index];
    default: break;
    }
    std::string& v = values_[token];
    if (valueReady_[token])
        return v;
    v.clear();
    if (t.kind == TokenKind::Field) {
        appendValue(v, record.field(t.index));
    } else {
        const auto& number = t.kind == TokenKind::NextFileName ? next : back;
        if (number) {
            escaped_.assign(*number);
            escaped_ += ".html";
            appendValue(v, escaped_);
        }
    }
    valueReady_[token] = 1;
    return v;
}

void PageMaker::Make(const TKovraDataClass& record, std::optional<std::string_view> nextNumber,
                     std::optional<std::string_view> backNumber, std::string& page)
{
    std::fill(valueReady_.begin(), valueReady_.end(), 0);
    if (onePassAllowed_ && onePassTemplate_ && makeInOnePass(record, nextNumber, backNumber, page))
        return;
    makeLineByLine(record, nextNumber, backNumber, page);
}

bool PageMaker::makeInOnePass(const TKovraDataClass& record, const std::optional<std::string_view>& next,
                              const std::optional<std::string_view>& back, std::string& page)
{
    std::size_t size = template_.size();
    for (const Occurrence& o : occurrences_) {
        const std::string& v = valueOf(o.token, record, next, back);
        if (v.find('*') != std::string::npos)
            return false;
        size = size - o.length + v.size();
    }
    page.clear();
    page.reserve(size);
    std::size_t copied = 0;
    for (const Occurrence& o : occurrences_) {
        page.append(template_, copied, o.pos - copied);
        page.append(valueOf(o.token, record, next, back));
        copied = o.pos + o.length;
    }
    page.append(template_, copied, std::string::npos);
    return true;
}

void PageMaker::makeLineByLine(const TKovraDataClass& record, const std::optional<std::string_view>& next,
                               const std::optional<std::string_view>& back, std::string& page)
{
    page = template_;
    for (std::size_t t = 0; t < tokens_.size(); ++t) {
        // Most FieldList lines are not in a given template: look before
        // building the value.
        const std::size_t pos = findIgnoringCase(page, tokens_[t].text, 0);
        if (pos == std::string_view::npos)
            continue;
        replaceFrom(page, pos, tokens_[t].text, valueOf(t, record, next, back), scratch_);
    }
}

} // namespace kovra::html
