#include "XlsxExport.h"

#include "ExportRows.h"
#include "Utf8.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <fstream>

namespace kovra::search {

namespace {

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

} // namespace

bool WriteXlsx(const SheetRows& rows, const std::string& path, ExportOutcome& outcome)
{
    if (rows.rowCount() + 1 > LXW_ROW_MAX || rows.columnCount() > LXW_COL_MAX)
        return false;
    // The writer reports a file it cannot create on stderr; find that out first.
    if (!std::ofstream(PathFromUtf8(path), std::ios::binary | std::ios::trunc))
        return false;
    std::vector<double> widths(rows.columnCount());
    ExportRow captions, row;
    rows.captions(captions);
    for (std::size_t f = 0; f < captions.size(); ++f)
        widths[f] = DisplayWidth(captions[f]);
    for (std::size_t n = 0; n < rows.rowCount(); ++n) {
        rows.fill(n, row);
        for (std::size_t f = 0; f < row.size(); ++f)
            if (widths[f] < kWidestColumn && row[f].size() > widths[f]) // a text of n bytes is at most n wide
                widths[f] = std::max(widths[f], DisplayWidth(row[f]));
    }

    // Rows go to disk as they are written, so a big export needs little memory.
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book)
        return false;
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* bold = workbook_add_format(book);
    bool ok = sheet && bold;
    if (ok) {
        format_set_bold(bold);
        for (std::size_t f = 0; f < widths.size(); ++f) {
            const auto col = static_cast<lxw_col_t>(f);
            worksheet_set_column(sheet, col, col, std::min(widths[f], kWidestColumn) + 2, nullptr);
        }
        worksheet_freeze_panes(sheet, 1, 0);
        worksheet_autofilter(sheet, 0, 0, static_cast<lxw_row_t>(rows.rowCount()),
                             static_cast<lxw_col_t>(rows.columnCount() - 1));
    }
    std::string cell;
    auto writeRow = [&](lxw_row_t r, const ExportRow& texts, lxw_format* format) {
        for (std::size_t f = 0; f < texts.size() && ok; ++f) {
            if (CutToCell(texts[f], cell))
                ++outcome.shortenedCells;
            else
                cell.assign(texts[f]);
            ok = worksheet_write_string(sheet, r, static_cast<lxw_col_t>(f), cell.c_str(), format) == LXW_NO_ERROR;
        }
    };
    writeRow(0, captions, bold);
    lxw_row_t r = 1;
    for (std::size_t n = 0; n < rows.rowCount() && ok; ++n, ++r) {
        rows.fill(n, row);
        writeRow(r, row, nullptr);
    }
    const bool closed = workbook_close(book) == LXW_NO_ERROR;
    return ok && closed;
}

} // namespace kovra::search
