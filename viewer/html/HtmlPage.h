// One HTML page per listing: the placeholder lookup, the FieldList reader
// and the substitution that turns the user's template into a page.
//
// Plain C++ on bytes.  The template is never decoded: a Shift-JIS template
// comes out byte for byte as it went in, except where a placeholder stood
// and at the line ends, which are all CR LF in a page (the last line too);
// the values (UTF-8 in the records) are converted to the template's own
// encoding as they are inserted.
#pragma once

#include "KovraRecord.h"
#include "UserSettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::html {

// The user's own contact data as the "/*User...*/" placeholders see it
// (UTF-8).  A copy is taken when a run starts, so the settings dialog may
// change the profile while pages are being written.
using UserTexts = services::ProfileTexts;

// What a placeholder stands for.
enum class TokenKind { Field, KensakuNengappi, User, NextFileName, BackFileName };
enum class UserItem { Name, Yubin, Jyusyo, Tel, Fax, Email, Hp };

struct Token {
    TokenKind kind = TokenKind::Field;
    int index = 0;    // field index for Field, UserItem for User
    std::string text; // the token exactly as FieldList spells it
};

// The exact, case-sensitive token table: "/*" + name + "*/" for the 94
// fields, then "/*KensakuNengappi*/", the seven user tokens and the two
// links.  Anything else (the empty text, a trailing blank, another letter
// case) is no placeholder.
std::optional<Token> ParsePlaceholder(std::string_view text);

// All tokens of the table in order (the shipped FieldList lists them).
std::vector<std::string> AllPlaceholders();

// The replacement text of `token` for one listing, "err" when the token is
// no placeholder, and the empty text for the two links (the page maker
// fills them in).
std::string LookupPlaceholder(const TKovraDataClass& record, std::string_view token,
                              std::string_view kensakuNengappi, const UserTexts& user);

// FieldList: one token per line (CR LF, CR or LF), used unchanged.  A line
// that is no placeholder makes the whole list unusable.
struct FieldList {
    std::vector<Token> tokens;
    bool namesPages = false; // holds "/*BukkennNum*/", which names the page files
    int errorLine = 0;       // 1-based line that is no placeholder; 0 when the list is good
    std::string errorText;   // that line as UTF-8 text (decoded from Shift-JIS unless the list has a UTF-8 mark)
    bool ok() const { return errorLine == 0; }
};
FieldList ReadFieldList(std::string_view bytes);

enum class Encoding { Cp932, Utf8 };
// UTF-8 when the template starts with a UTF-8 byte order mark or declares
// charset=utf-8 within the first 1024 bytes (where browsers look for it);
// Shift-JIS otherwise.
Encoding DetectEncoding(std::string_view templateBytes);

// Appends `text` (UTF-8) with & < > " ' written as entities.  Listing texts
// come from other brokers and must never become markup in the user's pages.
void AppendEscaped(std::string& out, std::string_view text);

// Why `number` cannot name a page file in the output folder, or nullopt
// when it can.  The rules are those of the strictest file system the pages
// may land on (Windows), so a folder of pages can be copied anywhere.
std::optional<std::string> UnsafePageNameReason(std::string_view number);

// Replaces every occurrence of `token` in `page`, comparing ASCII letters
// without regard to case, left to right in one pass (an inserted value is
// not searched again by the same token).  Returns the number replaced.
std::size_t ReplaceIgnoringCase(std::string& page, std::string_view token, std::string_view value,
                                std::string& scratch);

// Makes the pages of one run.  Holds the template, the FieldList and the
// values that are the same on every page, already escaped and converted.
class PageMaker {
public:
    PageMaker(std::string templateBytes, std::vector<Token> tokens, std::string_view kensakuNengappi,
              const UserTexts& user);

    Encoding encoding() const { return encoding_; }

    // Whether pages may be assembled in one pass over the template (the
    // default) instead of one pass per FieldList line.  The result is the
    // same; the tests and the fuzzer compare the two.
    void setOnePassAllowed(bool allowed) { onePassAllowed_ = allowed; }
    bool onePassTemplate() const { return onePassTemplate_; }

    // The page of `record`.  `nextNumber` / `backNumber` are the listing
    // numbers of the pages the links point to (nullopt: no such page, the
    // link becomes the empty text).
    void Make(const TKovraDataClass& record, std::optional<std::string_view> nextNumber,
              std::optional<std::string_view> backNumber, std::string& page);

private:
    struct Occurrence {
        std::size_t pos;
        std::size_t length;
        std::size_t token; // index into tokens_ of the first line that matches
    };
    void appendValue(std::string& out, std::string_view utf8) const;
    void findOccurrences();
    const std::string& valueOf(std::size_t token, const TKovraDataClass& record,
                               const std::optional<std::string_view>& next,
                               const std::optional<std::string_view>& back);
    void makeLineByLine(const TKovraDataClass& record, const std::optional<std::string_view>& next,
                        const std::optional<std::string_view>& back, std::string& page);
    bool makeInOnePass(const TKovraDataClass& record, const std::optional<std::string_view>& next,
                       const std::optional<std::string_view>& back, std::string& page);

    std::string template_;
    std::vector<Token> tokens_;
    Encoding encoding_;
    std::string kensaku_;                  // escaped, converted
    std::string user_[7];                  // escaped, converted
    std::string scratch_, escaped_;          // reused buffers
    std::vector<Occurrence> occurrences_;      // in the template, by position
    std::vector<std::string> values_;          // per token, for the page being made
    std::vector<char> valueReady_;
    bool onePassTemplate_ = false;
    bool onePassAllowed_ = true;
};

} // namespace kovra::html
