#include "XlsxExport.h"

#include "ExportRows.h"
#include "NumberCells.h"
#include "Utf8.h"
#include "ZipWriter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <deque>
#include <unordered_map>

namespace kovra::search {

namespace {

// The most rows and columns a sheet has.
constexpr std::size_t kSheetRows = 1048576, kSheetColumns = 16384;

// Columns about as wide as their widest text, counting a full-width
// character as two; capped so remarks do not push the rest out of view.
constexpr double kWidestColumn = 60;

double DisplayWidth(std::string_view text)
{
    int width = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const char32_t c = utf8::Next(p, end);
        width += (c >= 0x1100 && !(c >= 0xFF61 && c <= 0xFFDC)) ? 2 : 1; // half-width forms are narrow
    }
    return width;
}

// The longest text a cell holds, in characters.
constexpr std::size_t kCellCharacters = 32767;

// Cuts `text` to kCellCharacters characters; false when it was not longer.
bool CutToCell(std::string_view text, std::string& out)
{
    if (text.size() <= kCellCharacters)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    std::size_t n = 0;
    while (p < end && n < kCellCharacters) {
        utf8::Next(p, end);
        ++n;
    }
    if (p == end)
        return false;
    out.assign(text.data(), static_cast<std::size_t>(reinterpret_cast<const char*>(p) - text.data()));
    return true;
}

// "A", "B" ... "Z", "AA" ...: the column letters of 0-based column `c`.
std::string ColumnName(int c)
{
    std::string name;
    for (++c; c > 0; c = (c - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    return name;
}

void AppendNumber(std::string& out, std::uint64_t n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
}

// Text as XML character data (or an attribute value).  Characters XML
// cannot carry (controls other than tab and line feed) are written as
// the spreadsheet's "_xHHHH_" escapes, and a text that would read as such
// an escape keeps its "_" by escaping it.
void AppendXmlText(std::string& out, std::string_view text)
{
    const auto hex4 = [&out](unsigned v) {
        static const char digits[] = "0123456789ABCDEF";
        out += "_x";
        for (int shift = 12; shift >= 0; shift -= 4)
            out.push_back(digits[(v >> shift) & 15]);
        out.push_back('_');
    };
    const auto looksEscaped = [&text](std::size_t i) {
        if (i + 7 > text.size() || text[i + 1] != 'x' || text[i + 6] != '_')
            return false;
        for (std::size_t k = i + 2; k < i + 6; ++k)
            if (!std::isxdigit(static_cast<unsigned char>(text[k])))
                return false;
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': case '\n': out.push_back(c); break;
        case '\r': out += "&#13;"; break;
        case '_':
            if (looksEscaped(i))
                hex4('_');
            else
                out.push_back(c);
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                hex4(static_cast<unsigned char>(c));
            else
                out.push_back(c);
        }
    }
}

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string ContentTypes()
{
    return std::string(kXmlHead) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Override PartName=\"/xl/workbook.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
           "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
           "<Override PartName=\"/xl/styles.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
           "<Override PartName=\"/xl/sharedStrings.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
           "</Types>";
}

std::string PackageRelationships()
{
    return std::string(kXmlHead) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" + std::string(kRelationships) +
           "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
}

std::string Workbook(std::string_view sheetName, const std::string& filterRange)
{
    std::string name;
    AppendXmlText(name, sheetName);
    return std::string(kXmlHead) + "<workbook xmlns=\"" + std::string(kMain) + "\" xmlns:r=\"" +
           std::string(kRelationships) + "\"><bookViews><workbookView/></bookViews><sheets><sheet name=\"" + name +
           "\" sheetId=\"1\" r:id=\"rId1\"/></sheets><definedNames>"
           "<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\" hidden=\"1\">'" + name + "'!" +
           filterRange + "</definedName></definedNames></workbook>";
}

std::string WorkbookRelationships()
{
    const std::string type = std::string(kRelationships) + "/";
    return std::string(kXmlHead) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" + type + "worksheet\" Target=\"worksheets/sheet1.xml\"/>"
           "<Relationship Id=\"rId2\" Type=\"" + type + "styles\" Target=\"styles.xml\"/>"
           "<Relationship Id=\"rId3\" Type=\"" + type + "sharedStrings\" Target=\"sharedStrings.xml\"/>"
           "</Relationships>";
}

// Style 0 plain, 1 the bold caption row, 2.. one per number format.
constexpr int kBoldStyle = 1, kFirstNumberStyle = 2;
constexpr int kFirstCustomFormat = 164; // below are the built-in formats

std::string Styles(const std::vector<std::string>& numberFormats)
{
    const std::string font = "<sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/><scheme val=\"minor\"/></font>";
    std::string xml = std::string(kXmlHead) + "<styleSheet xmlns=\"" + std::string(kMain) + "\">";
    if (!numberFormats.empty()) {
        xml += "<numFmts count=\"" + std::to_string(numberFormats.size()) + "\">";
        for (std::size_t i = 0; i < numberFormats.size(); ++i) {
            xml += "<numFmt numFmtId=\"" + std::to_string(kFirstCustomFormat + i) + "\" formatCode=\"";
            AppendXmlText(xml, numberFormats[i]);
            xml += "\"/>";
        }
        xml += "</numFmts>";
    }
    xml += "<fonts count=\"2\"><font>" + font + "<font><b/>" + font + "</fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
           "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
           "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
           "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
           "<cellXfs count=\"" + std::to_string(kFirstNumberStyle + numberFormats.size()) + "\">"
           "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
           "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>";
    for (std::size_t i = 0; i < numberFormats.size(); ++i)
        xml += "<xf numFmtId=\"" + std::to_string(kFirstCustomFormat + i) +
               "\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    xml += "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           "</styleSheet>";
    return xml;
}

// The sheet's cells as they are made: text cells point into one table of
// the distinct texts (each written once, however many listings share it),
// number cells carry their value and a style with their display format.
// A cell without a reference ("B12") stands right after the one before
// it, so every cell of a row is written, an empty one too: the references
// would double the file and the time it takes (they do not compress).
class SheetCells {
public:
    explicit SheetCells(ZipWriter& zip) : zip_(zip) {}

    void beginRow(std::size_t r)
    {
        xml_ += "<row r=\"";
        AppendNumber(xml_, r);
        xml_ += "\">";
    }
    bool endRow()
    {
        xml_ += "</row>";
        return xml_.size() < kFlushBytes || flush();
    }
    // A text that may change once the next row is made (not a listing's
    // own): the table keeps a copy.
    void transientText(std::string_view text, int style, ExportOutcome& outcome)
    {
        openCell();
        const std::optional<NumberCell> number = style ? std::nullopt : NumberCellOf(text);
        const int numberStyle = number ? this->numberStyle(number->format) : 0;
        if (numberStyle) {
            numberAfterPlace(*number, numberStyle);
            return;
        }
        textAfterPlace(text, style, outcome, true);
    }
    // A cell of one listing: a text of the decoder's vocabulary (`word`,
    // the same for every listing that has it) is looked at once.
    void cell(std::string_view text, Word word, ExportOutcome& outcome)
    {
        openCell();
        if (word == kInlineTag) {
            afterPlace(text, outcome);
            return;
        }
        std::string& known = words_[word];
        if (known.empty()) {
            const std::size_t start = xml_.size();
            afterPlace(text, outcome);
            known = xml_.substr(start);
            return;
        }
        if (known.starts_with(" t="))
            ++textCells_;
        xml_ += known;
    }
    void append(std::string_view xml) { xml_ += xml; }
    bool flush()
    {
        // Compressed on the ZIP writer's thread while the next piece is made.
        const bool ok = zip_.queue(std::move(xml_));
        xml_ = std::string();
        xml_.reserve(kFlushBytes + kFlushBytes / 8);
        return ok;
    }

    // The table of distinct texts, written in pieces.
    bool writeSharedStrings()
    {
        xml_ = std::string(kXmlHead) + "<sst xmlns=\"" + std::string(kMain) + "\" count=\"" +
               std::to_string(textCells_) + "\" uniqueCount=\"" + std::to_string(texts_.size()) + "\">";
        for (const std::string_view text : texts_) {
            xml_ += "<si><t xml:space=\"preserve\">";
            AppendXmlText(xml_, text);
            xml_ += "</t></si>";
            if (xml_.size() >= kFlushBytes && !flush())
                return false;
        }
        xml_ += "</sst>";
        return flush();
    }
    const std::vector<std::string>& numberFormats() const { return formats_; }

private:
    void openCell() { xml_ += "<c"; }
    // What follows the cell's place: a number, or else the text.
    void afterPlace(std::string_view text, ExportOutcome& outcome)
    {
        const std::optional<NumberCell> number = NumberCellOf(text);
        const int style = number ? numberStyle(number->format) : 0;
        if (!style) {
            textAfterPlace(text, 0, outcome, false);
            return;
        }
        numberAfterPlace(*number, style);
    }
    void numberAfterPlace(const NumberCell& number, int style)
    {
        xml_ += " s=\"";
        AppendNumber(xml_, static_cast<std::uint64_t>(style));
        xml_ += "\"><v>";
        xml_ += number.digits;
        xml_ += "</v></c>";
    }
    void textAfterPlace(std::string_view text, int style, ExportOutcome& outcome, bool transient)
    {
        if (text.empty() && style == 0) {
            xml_ += "/>";
            return;
        }
        // A text cut to what a cell holds is long: it goes into its cell
        // below, so the cut copy need not outlive this call.
        if (CutToCell(text, cut_)) {
            ++outcome.shortenedCells;
            text = cut_;
        }
        auto it = text.size() > kLongestSharedText ? index_.end() : index_.find(text);
        if (it == index_.end()) {
            if (text.size() > kLongestSharedText || texts_.size() >= kMostSharedTexts) {
                // A long text (a remark) is seldom shared, and past some
                // millions the table is big enough: such a text stands in its
                // own cell.
                xml_ += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
                AppendXmlText(xml_, text);
                xml_ += "</t></is></c>";
                return;
            }
            if (transient)
                text = ownTexts_.emplace_back(text);
            it = index_.emplace(text, static_cast<std::uint32_t>(texts_.size())).first;
            texts_.push_back(text);
        }
        ++textCells_;
        xml_ += style ? " t=\"s\" s=\"1\"><v>" : " t=\"s\"><v>";
        AppendNumber(xml_, it->second);
        xml_ += "</v></c>";
    }
    // The style of a number format; 0 when it is one too many (the cell
    // then stays text).
    int numberStyle(const std::string& format)
    {
        auto it = styles_.find(format);
        if (it == styles_.end()) {
            if (formats_.size() >= kMostNumberFormats)
                return 0;
            it = styles_.emplace(format, kFirstNumberStyle + static_cast<int>(formats_.size())).first;
            formats_.push_back(format);
        }
        return it->second;
    }

    static constexpr std::size_t kFlushBytes = 1 << 20;
    // Past a sane number of display formats (a hostile file's units), the
    // rest stay text.
    static constexpr std::size_t kMostNumberFormats = 1000;
    // The table of distinct texts costs memory for each; past this many
    // (a million listings of their own addresses and remarks), new texts go
    // into their cells instead.
    static constexpr std::size_t kMostSharedTexts = 2'000'000;
    static constexpr std::size_t kLongestSharedText = 255; // bytes

    ZipWriter& zip_;
    std::string xml_;
    std::unordered_map<std::string_view, std::uint32_t> index_;
    std::vector<std::string_view> texts_; // by index; views into the listings or ownTexts_
    std::deque<std::string> ownTexts_; // copies of texts that do not stay
    std::string cut_;
    std::uint64_t textCells_ = 0;
    std::unordered_map<std::string, int> styles_;
    std::vector<std::string> formats_;
    std::array<std::string, 256> words_; // each vocabulary word's cell after its place
};

} // namespace

bool WriteXlsx(const SheetRows& rows, const std::string& path, ExportOutcome& outcome)
{
    const std::size_t columns = rows.columnCount();
    if (rows.rowCount() + 1 > kSheetRows || columns == 0 || columns > kSheetColumns)
        return false;
    std::vector<double> widths(columns);
    ExportRow captions, row;
    rows.captions(captions);
    for (std::size_t f = 0; f < captions.size() && f < columns; ++f)
        widths[f] = DisplayWidth(captions[f]);
    for (std::size_t n = 0; n < rows.rowCount(); ++n) {
        rows.fill(n, row);
        for (std::size_t f = 0; f < row.size() && f < columns; ++f)
            if (widths[f] < kWidestColumn && row[f].size() > widths[f]) // a text of n bytes is at most n wide
                widths[f] = std::max(widths[f], DisplayWidth(row[f]));
    }
    const std::string lastColumn = ColumnName(static_cast<int>(columns) - 1);
    const std::string lastRow = std::to_string(rows.rowCount() + 1);
    const std::string range = "A1:" + lastColumn + lastRow;

    ZipWriter zip;
    if (!zip.open(path))
        return false;
    bool ok = true;
    const auto entry = [&](std::string_view name, const std::string& content) {
        ok = ok && zip.beginEntry(name) && zip.write(content) && zip.endEntry();
    };
    entry("[Content_Types].xml", ContentTypes());
    entry("_rels/.rels", PackageRelationships());
    entry("xl/workbook.xml", Workbook(rows.sheetName(), "$A$1:$" + lastColumn + "$" + lastRow));
    entry("xl/_rels/workbook.xml.rels", WorkbookRelationships());

    // The sheet, row by row as the listings are read, so a big export
    // needs little more memory than its distinct texts.
    ok = ok && zip.beginEntry("xl/worksheets/sheet1.xml");
    SheetCells sheet(zip);
    std::string head = std::string(kXmlHead) + "<worksheet xmlns=\"" + std::string(kMain) + "\" xmlns:r=\"" +
                       std::string(kRelationships) + "\"><dimension ref=\"" + range + "\"/>"
                       "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
                       "<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"
                       "<selection pane=\"bottomLeft\"/></sheetView></sheetViews>"
                       "<sheetFormatPr defaultRowHeight=\"15\"/><cols>";
    for (std::size_t f = 0; f < widths.size(); ++f)
        head += "<col min=\"" + std::to_string(f + 1) + "\" max=\"" + std::to_string(f + 1) + "\" width=\"" +
                std::to_string(static_cast<int>(std::min(widths[f], kWidestColumn)) + 2) + "\" customWidth=\"1\"/>";
    head += "</cols><sheetData>";
    sheet.append(head);
    // Every row has all its cells (an empty one too): a cell without a
    // reference stands right after the one before it.
    const auto transientRow = [&](const ExportRow& texts, int style) {
        for (std::size_t f = 0; f < columns; ++f)
            sheet.transientText(f < texts.size() ? texts[f] : std::string_view(), style, outcome);
    };
    sheet.beginRow(1);
    transientRow(captions, kBoldStyle);
    ok = ok && sheet.endRow();
    const FieldSet blank = rows.blankFields();
    for (std::size_t n = 0; n < rows.rowCount() && ok; ++n) {
        sheet.beginRow(n + 2);
        // A listing's own texts stay while it lives, and the words of the
        // decoder's vocabulary are looked at once.
        if (const TKovraDataClass* listing = columns == kFieldCount ? rows.listingAt(n) : nullptr) {
            listing->forEachField([&](int f, std::string_view text, Word word) {
                if (blank[static_cast<std::size_t>(f)])
                    sheet.cell({}, 0, outcome); // the vocabulary's empty text
                else
                    sheet.cell(text, word, outcome);
            });
        } else {
            rows.fill(n, row);
            transientRow(row, 0);
        }
        ok = sheet.endRow();
    }
    sheet.append("</sheetData><autoFilter ref=\"" + range + "\"/></worksheet>");
    ok = ok && sheet.flush() && zip.endEntry();
    entry("xl/styles.xml", Styles(sheet.numberFormats()));
    ok = ok && zip.beginEntry("xl/sharedStrings.xml") && sheet.writeSharedStrings() && zip.endEntry();
    return zip.finish() && ok;
}

} // namespace kovra::search
