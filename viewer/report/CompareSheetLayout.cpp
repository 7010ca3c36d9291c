#include "CompareSheetLayout.h"

#include "Cp932Codec.h"
#include "MessageTexts.h"
#include "PrintTool.h"
#include "ShippedFiles.h"

#include <algorithm>
#include <vector>

namespace kovra {

namespace {

// The form's geometry (0.1 mm): the table's label column, the listing
// columns right of it, and the row slots under the head band.
constexpr int kTableLeft = 150;
constexpr int kCellsLeft = 480;
constexpr int kTableRight = 2820;
constexpr int kHeadTop = 260;
constexpr int kRowsTop = 330;
constexpr int kRowHeight = 85;
constexpr int kPadding = 20;

// The price, what a sheet is read for first, stands in bold.
constexpr int kPriceField = static_cast<int>(Field::Kakaku);

constexpr const char* kMincho = "ＭＳ 明朝";
constexpr const char* kGothic = "ＭＳ ゴシック";

// A text as the form's fixed-pitch faces set it: a CP932 byte is half an
// em wide, and an em at `size` points is size × 0.3528 mm.
int TextWidth(std::string_view text, int size)
{
    int bytes = 0;
    for (std::size_t i = 0; i < text.size();)
        bytes += cp932::byteWidth(cp932::nextCodePoint(text, i));
    return (bytes * size * 3528 + 1999) / 2000;
}

// The longest start of `text` that is at most `width` wide.
std::size_t FittingLength(std::string_view text, int size, int width)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        cp932::nextCodePoint(text, i);
        if (TextWidth(text.substr(0, i), size) > width)
            break;
        end = i;
    }
    return end;
}

struct Fitted {
    int size = 9;
    std::vector<std::string> lines;
};

// `text` in one line at the largest of `oneLine` sizes that holds it,
// else in two lines at the largest of `twoLines`, else cut with "…" at the
// smallest size: a cell never runs into the next one.
Fitted Fit(std::string_view text, int width, std::initializer_list<int> oneLine, std::initializer_list<int> twoLines = {})
{
    for (const int size : oneLine)
        if (TextWidth(text, size) <= width)
            return {size, {std::string(text)}};
    for (const int size : twoLines) {
        const std::size_t first = FittingLength(text, size, width);
        if (first > 0 && TextWidth(text.substr(first), size) <= width)
            return {size, {std::string(text.substr(0, first)), std::string(text.substr(first))}};
    }
    const bool two = twoLines.size() > 0;
    const int size = two ? *(twoLines.end() - 1) : *(oneLine.end() - 1);
    Fitted fitted{size, {}};
    std::string_view rest = text;
    if (two) {
        const std::size_t first = FittingLength(rest, size, width);
        fitted.lines.emplace_back(rest.substr(0, first));
        rest.remove_prefix(first);
    }
    const std::size_t kept = FittingLength(rest, size, width - TextWidth("…", size));
    fitted.lines.push_back(std::string(rest.substr(0, kept)) + "…");
    return fitted;
}

class SheetWriter {
public:
    SheetWriter(TPrintTool& tool, const search::CompareSheet& sheet) : tool_(tool), sheet_(sheet)
    {
        const int columns = std::max<int>(1, static_cast<int>(sheet.listings.size()));
        columnWidth_ = (kTableRight - kCellsLeft) / columns;
    }

    void page(std::size_t firstRow, int pageNumber, int pages, const services::ProfileTexts& profile)
    {
        item(2150, 120, "検索日　" + sheet_.searchDate, kMincho, 9, "", "N");
        item(2150, 165, msg::CompareMarketCount(sheet_.marketCount), kMincho, 9, "", "N");
        if (pages > 1)
            item(2640, 120, std::to_string(pageNumber) + " / " + std::to_string(pages), kMincho, 9, "", "N");
        for (std::size_t c = 0; c < sheet_.listings.size(); ++c) {
            const std::string head = search::CompareColumnHead(static_cast<int>(c));
            const int x = kCellsLeft + static_cast<int>(c) * columnWidth_ + (columnWidth_ - TextWidth(head, 10)) / 2;
            item(x, kHeadTop + 20, head, kGothic, 10, "B", "W+");
        }
        const std::size_t last = std::min(sheet_.rows.size(), firstRow + kCompareRowsPerPage);
        for (std::size_t r = firstRow; r < last; ++r)
            row(sheet_.rows[r], kRowsTop + static_cast<int>(r - firstRow) * kRowHeight);
        footer(profile);
    }

private:
    void item(int x, int y, std::string_view text, const char* face, int size, const char* style, const char* colour)
    {
        tool_.WriteItem(x, y, ItemText(text), face, size, style, colour, "1");
    }

    // Lines of one fitted text, their block centred on `middle`.
    void lines(int x, int middle, const Fitted& fitted, const char* face, const char* style, const char* colour)
    {
        const int lineHeight = fitted.size * 3528 / 1000 * 115 / 100;
        int y = middle - (static_cast<int>(fitted.lines.size()) * lineHeight) / 2;
        for (const std::string& line : fitted.lines) {
            item(x, y, line, face, fitted.size, style, colour);
            y += lineHeight;
        }
    }

    void row(const search::CompareRow& r, int top)
    {
        lines(kTableLeft + kPadding, top + kRowHeight / 2, Fit(r.label, kCellsLeft - kTableLeft - 2 * kPadding, {9, 8, 7}, {7, 6}),
              kGothic, "", "N");
        const int width = columnWidth_ - 2 * kPadding;
        // The market lines of a row share one size, so they read as one line.
        std::vector<std::string> markets(r.market.size());
        int marketSize = 7;
        for (std::size_t c = 0; c < r.market.size(); ++c) {
            if (r.market[c].empty())
                continue;
            markets[c] = "相場 " + r.market[c] + (r.deviation[c].empty() ? "" : "（" + r.deviation[c] + "）");
            marketSize = std::min(marketSize, Fit(markets[c], width, {7, 6}).size);
        }
        for (std::size_t c = 0; c < r.cells.size(); ++c) {
            const int x = kCellsLeft + static_cast<int>(c) * columnWidth_ + kPadding;
            if (!r.quantity) {
                lines(x, top + kRowHeight / 2, Fit(r.cells[c], width, {9, 8, 7}, {7, 6}), kMincho, "", "N");
                continue;
            }
            lines(x, top + 30, Fit(r.cells[c], width, {9, 8, 7, 6}), kMincho, r.field == kPriceField ? "B" : "", "N");
            if (!markets[c].empty())
                lines(x, top + 64, Fit(markets[c], width, {marketSize}), kMincho, "", "N+");
        }
    }

    void footer(const services::ProfileTexts& p)
    {
        constexpr int left = 1900, width = kTableRight - left;
        lines(left, 1915, Fit(p.Name, width, {10, 9, 8, 7, 6}), kGothic, "B", "N");
        lines(left, 1962, Fit("TEL:" + p.Tel + "　FAX:" + p.Fax + "　Email:" + p.Email, width, {8, 7, 6}), kMincho, "", "N");
    }

    TPrintTool& tool_;
    const search::CompareSheet& sheet_;
    int columnWidth_ = 0;
};

} // namespace

ReportOutcome WriteCompareSheet(const search::CompareSheet& sheet, const CompareSheetRequest& request)
{
    ReportOutcome outcome;
    if (sheet.listings.empty() || sheet.rows.empty())
        return outcome;
    TPrintTool tool;
    outcome.formatFile = request.formatFile.empty() ? services::ShippedFile(kCompareFormatFile) : request.formatFile;
    tool.SetFormatFileName(outcome.formatFile);
    tool.SetDataFileName(request.dataFile);
    tool.SetPaperCode(kReportPaperA4);
    tool.SetOrientation(1);
    tool.SetPreviewTitle(kCompareCaption);
    tool.SetJobName(kCompareCaption); // not the name of the report printed before
    if (!tool.OpenDataFile()) {
        outcome.message = msg::FileCannotCreate(request.dataFile);
        return outcome;
    }
    const int pages = static_cast<int>((sheet.rows.size() + kCompareRowsPerPage - 1) / kCompareRowsPerPage);
    SheetWriter writer(tool, sheet);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            tool.EndPage();
        writer.page(static_cast<std::size_t>(p) * kCompareRowsPerPage, p + 1, pages, request.profile);
    }
    outcome.dataFile = TPrintTool::Settings().dataFileName;
    if (!tool.CloseDataFile()) {
        outcome.message = msg::FileCannotCreate(outcome.dataFile);
        return outcome;
    }
    outcome.written = true;
    outcome.pages = pages;
    outcome.unmappable = tool.UnmappableCount();
    return outcome;
}

} // namespace kovra
