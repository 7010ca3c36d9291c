#include "ListingExport.h"

#include "ExportRows.h"
#include "MessageTexts.h"
#include "SaveThroughTempFile.h"

#include <exception>
#include <fstream>

namespace kovra::search {

namespace {

// Texts come from other brokers' files.  A spreadsheet takes a cell that
// starts like this for a formula; "-" counts only before something that is
// neither a digit nor another "-", so "-5万円", "-" and "-----" stay.
bool LooksLikeFormula(std::string_view text)
{
    if (text.empty())
        return false;
    switch (text[0]) {
    case '=': case '+': case '@': case '\t': case '\r':
        return true;
    case '-':
        return text.size() > 1 && text[1] != '-' && !(text[1] >= '0' && text[1] <= '9');
    default:
        return false;
    }
}

} // namespace

bool WriteCsv(const SheetRows& rows, const std::string& path, ExportOutcome&)
{
    std::ofstream file(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    std::string out = "\xEF\xBB\xBF"; // the byte order mark tells spreadsheets it is UTF-8
    auto appendRow = [&](const ExportRow& row) {
        AppendCsvRow(out, row);
        if (out.size() > (1 << 20)) {
            file.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
    };
    ExportRow row;
    rows.captions(row);
    appendRow(row);
    for (std::size_t n = 0; n < rows.rowCount(); ++n) {
        rows.fill(n, row);
        appendRow(row);
    }
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    return !file.fail();
}

void AppendCsvValue(std::string& out, std::string_view text)
{
    const bool guard = LooksLikeFormula(text);
    const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quote)
        out.push_back('"');
    if (guard)
        out.push_back('\'');
    for (const char c : text) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    if (quote)
        out.push_back('"');
}

void AppendCsvRow(std::string& out, std::span<const std::string_view> row)
{
    for (std::size_t f = 0; f < row.size(); ++f) {
        if (f)
            out.push_back(',');
        AppendCsvValue(out, row[f]);
    }
    out += "\r\n";
}

ExportOutcome ExportListings(std::span<const TKovraDataClass> listings, std::span<const int> order, SheetWriter write,
                             const std::string& path, const fileio::JobInputs& inputs, const FieldSet& blank)
{
    for (const int i : order) {
        if (i < 0 || static_cast<std::size_t>(i) >= listings.size()) {
            ExportOutcome outcome;
            outcome.message = "listing " + std::to_string(i) + " out of range";
            return outcome;
        }
    }
    return ExportSheet(ListingRows(listings, order, blank), write, path, inputs);
}

ExportOutcome ExportSheet(const SheetRows& rows, SheetWriter write, const std::string& path,
                          const fileio::JobInputs& inputs)
{
    ExportOutcome outcome;
    const auto fill = [&](const std::string& temp) {
        try {
            return write(rows, temp, outcome);
        } catch (const std::exception&) { // memory or a thread the system would not give
            return false;
        }
    };
    outcome.ok = SaveThroughTempFile(path, fill, &inputs, &outcome.outputIsInput);
    if (outcome.ok)
        outcome.rows = static_cast<int>(rows.rowCount());
    else
        outcome.message = outcome.outputIsInput ? msg::OutputIsInput(path) : msg::FileCannotCreate(path);
    return outcome;
}

} // namespace kovra::search
