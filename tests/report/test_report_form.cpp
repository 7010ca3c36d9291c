// The shipped report form "KvReport.FOM" with the report of the bundled
// sample: the form is found, prints under the data, and its captions keep
// clear of the values the report writes.
#include "CompareSheetLayout.h"
#include "Cp932Codec.h"
#include "ListingWithTexts.h"
#include "ListingLine.h"
#include "PdfPages.h"
#include "ListingDocument.h"
#include "RenderJob.h"
#include "ReportLayout.h"
#include "ScriptedPrompter.h"
#include "SearchIndex.h"
#include "ShippedFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <vector>

namespace {

namespace fs = std::filesystem;

int PdfPageCount(const std::string& path) { return kovra::testing::PdfPageCount(QString::fromStdString(path)); }


const fs::path kDataDir = fs::path(KOVRA_SOURCE_DIR) / "data";

std::string ReadBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines of a CP932 file with CR LF ends, decoded to UTF-8.
std::vector<std::string> Lines(const fs::path& p)
{
    const std::string text = cp932::toUtf8(ReadBytes(p));
    std::vector<std::string> lines;
    for (std::size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    return lines;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> f;
    std::size_t pos = 1;
    for (std::size_t end; (end = line.find(';', pos)) != std::string::npos; pos = end + 1)
        f.push_back(line.substr(pos, end - pos));
    return f;
}

int Int(const std::string& s)
{
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// The cell a text item covers, in 0.1 mm: one half-width step per CP932
// byte, one character height (the engine paints its cell this big).
struct Cell {
    int x1, y1, x2, y2;
    std::string text;
    bool overlaps(const Cell& o) const { return x1 < o.x2 && o.x1 < x2 && y1 < o.y2 && o.y1 < y2; }
};

Cell TextCell(const std::vector<std::string>& f)
{
    const int size = Int(f[4]) == 0 ? 12 : Int(f[4]);
    const double em = size * 254.0 / 72.0;
    const int x = Int(f[0]), y = Int(f[1]);
    const auto bytes = cp932::fromUtf8(f[2]).size();
    return {x, y, x + int(bytes * em / 2 + 0.5), y + int(em + 0.5), f[2]};
}

long long InkPixels(const QImage& image)
{
    long long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ++n;
    return n;
}

class ReportFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(kovra::LoadListingFile(listings, (kDataDir / "samples" / "sample.txt").string()).ok());
        ASSERT_GE(listings.ListingCount, 2);
        request.shownListingNumber = 1;
        request.memberPrintOk = true;
        request.profile = {"（株）見本不動産", "222-0033", "神奈川県見本市港北区新横浜二丁目１５番", "045-000-1234",
                           "045-000-1235", "info@example.jp"};
        kovra::services::SetProgramFolder(kDataDir.string()); // where the report form ships
        request.dataFile = path("KvReport.tmp");
        prompter.answer = [this](const kovra::Question& q) {
            messages.push_back(q.text);
            return kovra::Answer::Ok;
        };
    }
    void TearDown() override { kovra::services::SetProgramFolder({}); }

    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    QImage Preview(const std::string& format, const std::string& data)
    {
        const std::string out = path(format.empty() ? "png-data" : "png-form");
        dorvex::RenderOptions options;
        options.paperCode = kovra::kReportPaperA4;
        options.dpi = 100;
        int pages = 0;
        if (!dorvex::RenderPreviewToPng(format, data, out, options, &pages) || pages != 1)
            return {};
        return QImage(QString::fromStdString(out + "/page-1.png"));
    }

    QTemporaryDir dir;
    kovra::TListingDocument listings;
    kovra::ReportRequest request;
    std::vector<std::string> messages;
    kovra::testing::ScriptedPrompter prompter;
};

// Guards the file itself: CP932 with CR LF ends, one page (no "E" line, so
// the form comes under every listing's page), and only drawing commands or
// comments (a comment that began with a command letter would be drawn or
// would end the page).
TEST_F(ReportFormTest, ShippedFormIsOnePageOfDrawingCommands)
{
    for (const char* form : {kovra::kReportFormatFile, kovra::kCompareFormatFile}) {
        const std::string bytes = ReadBytes(kDataDir / form);
        ASSERT_FALSE(bytes.empty()) << form;
        EXPECT_EQ(cp932::fromUtf8(cp932::toUtf8(bytes)), bytes);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        int drawn = 0;
        for (const std::string& line : Lines(kDataDir / form)) {
            ASSERT_EQ(line.find('\n'), std::string::npos);
            if (line.empty() || line[0] == '*')
                continue;
            const char c = char(std::toupper(static_cast<unsigned char>(line[0])));
            EXPECT_NE(std::string("TLBRFCI").find(c), std::string::npos) << line;
            EXPECT_EQ(line.back(), ';') << line;
            ++drawn;
        }
        EXPECT_GT(drawn, 20) << form;
    }
}

// Guards the layout against the report's fixed positions: no caption or
// other fixed text of the form lies under a value of the page, and the
// user's contact block (x 1100, y 2540-2760) sits inside a box of the form.
TEST_F(ReportFormTest, CaptionsKeepClearOfTheValues)
{
    ASSERT_TRUE(kovra::WriteReport(listings, request).written);
    std::vector<Cell> values, captions;
    for (const std::string& line : Lines(request.dataFile))
        if (!line.empty() && line[0] == 'T')
            values.push_back(TextCell(Fields(line)));
    ASSERT_EQ(values.size(), 28u);
    struct Box { int x1, y1, x2, y2; };
    std::vector<Box> boxes;
    for (const std::string& line : Lines(kDataDir / kovra::kReportFormatFile)) {
        if (line.empty())
            continue;
        const auto f = Fields(line);
        if (line[0] == 'T')
            captions.push_back(TextCell(f));
        else if (line[0] == 'B' && f.size() >= 4)
            boxes.push_back({Int(f[0]), Int(f[1]), Int(f[2]), Int(f[3])});
    }
    ASSERT_FALSE(captions.empty());
    for (const Cell& v : values)
        for (const Cell& c : captions)
            EXPECT_FALSE(v.overlaps(c)) << "\"" << c.text << "\" at " << c.x1 << "," << c.y1 << " under the value \""
                                        << v.text << "\" at " << v.x1 << "," << v.y1;

    const std::vector<Cell> contact(values.end() - 6, values.end());
    ASSERT_EQ(contact.front().x1, 1100);
    ASSERT_EQ(contact.front().y1, 2540);
    const bool boxed = std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) {
        return std::all_of(contact.begin(), contact.end(), [&](const Cell& c) {
            return b.x1 < c.x1 && c.y1 > b.y1 && c.y2 < b.y2 && c.x1 + 500 < b.x2;
        });
    });
    EXPECT_TRUE(boxed) << "the contact block is not inside a box of the form";
}

// Guards that the report finds its form beside the program and prints it:
// one PDF page for one listing, one per listing for all of them, and no
// engine message (a missing form would say "... が見つかりません!").
TEST_F(ReportFormTest, ReportPrintsOnePagePerListing)
{
    const kovra::ReportOutcome one = kovra::WriteReport(listings, request);
    ASSERT_TRUE(one.written);
    EXPECT_EQ(one.formatFile, (kDataDir / "KvReport.FOM").string());
    dorvex::RenderOptions options;
    options.paperCode = kovra::kReportPaperA4;
    options.dpi = 150;
    int sheets = 0;
    ASSERT_TRUE(dorvex::RenderJobToPdf(one.formatFile, one.dataFile, path("one.pdf"), options, &sheets));
    EXPECT_EQ(sheets, 1);
    EXPECT_EQ(PdfPageCount(path("one.pdf")), 1);

    request.allListings = true;
    const kovra::ReportOutcome all = kovra::WriteReport(listings, request);
    ASSERT_TRUE(all.written);
    ASSERT_TRUE(dorvex::RenderJobToPdf(all.formatFile, all.dataFile, path("all.pdf"), options, &sheets));
    EXPECT_EQ(sheets, listings.ListingCount);
    EXPECT_EQ(PdfPageCount(path("all.pdf")), listings.ListingCount);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

// Guards that the form draws: the first listing's page with the form holds
// far more ink than its data alone, and the data alone is not blank.
TEST_F(ReportFormTest, FormDrawsUnderTheData)
{
    const kovra::ReportOutcome written = kovra::WriteReport(listings, request);
    ASSERT_TRUE(written.written);
    const QImage withForm = Preview(written.formatFile, written.dataFile);
    const QImage dataOnly = Preview("", written.dataFile);
    ASSERT_FALSE(withForm.isNull());
    ASSERT_FALSE(dataOnly.isNull());
    ASSERT_EQ(withForm.size(), dataOnly.size());
    const long long formInk = InkPixels(withForm), dataInk = InkPixels(dataOnly);
    EXPECT_GT(dataInk, 1000);
    EXPECT_GT(formInk, dataInk * 3);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

// Guards the comparison sheet's cells: with 2 to 8 columns and texts far
// longer than a cell, every text item stays inside its column and its row
// (as the engine sets it: a CP932 byte is half an em), never below 6 pt.
// Rows past a page go on the next one, under the column heads again.
TEST_F(ReportFormTest, CompareSheetCellsStayInTheirColumns)
{
    using kovra::Field;
    const std::string address = "神奈川県見本市港北区新横浜二丁目１５番地３号見本ハイツ新横浜弐番館１０２号室";
    kovra::TListingDocument document;
    for (int i = 0; i < 8; ++i)
        document.ListingTable.push_back(kovra::test::ListingWithTexts(
            {{Field::BukkennNum, "2100010" + std::to_string(i)}, {Field::DataSyubetu, i % 2 ? "賃貸物件" : "売物件"},
             {Field::Kakaku, "123,456,789万円"}, {Field::Syozaitimei, address.substr(0, 9 * (i + 1))},
             {Field::Koutuu, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghij 0123456789"}, {Field::Bikou, address + address}}));
    document.ListingCount = 8;
    const kovra::search::SearchIndex index(document);
    std::vector<int> all(8), everyField(kovra::kFieldCount);
    std::iota(all.begin(), all.end(), 0);
    std::iota(everyField.begin(), everyField.end(), 0);
    struct Case {
        int columns;
        std::vector<int> rows;
        int pages;
    };
    const Case cases[] = {{2, kovra::search::DefaultCompareRows(), 1}, {5, kovra::search::DefaultCompareRows(), 1},
                          {8, everyField, 6}};
    for (const Case& c : cases) {
        const auto sheet = kovra::search::MakeCompareSheet(document, index, all, std::vector<int>(all.begin(), all.begin() + c.columns), c.rows);
        kovra::CompareSheetRequest sheetRequest{request.profile, {}, path("sheet.tmp")};
        const kovra::ReportOutcome written = kovra::WriteCompareSheet(sheet, sheetRequest);
        ASSERT_TRUE(written.written);
        EXPECT_EQ(written.formatFile, (kDataDir / kovra::kCompareFormatFile).string());
        EXPECT_EQ(written.pages, c.pages);
        const int width = (2820 - 480) / c.columns;
        int heads = 0, ends = 0;
        for (const std::string& line : Lines(written.dataFile)) {
            ends += line == "E";
            if (line.empty() || line[0] != 'T')
                continue;
            const auto f = Fields(line);
            const Cell cell = TextCell(f);
            heads += cell.text.starts_with("物件") && cell.y1 < 330;
            EXPECT_GE(Int(f[4]), 6) << cell.text;
            if (cell.y1 < 330 || cell.y1 > 1860)
                continue; // heads and foot
            const int slot = 330 + (cell.y1 - 330) / 85 * 85;
            EXPECT_LE(cell.y2, slot + 85) << cell.text;
            const int left = cell.x1 < 480 ? 150 : 480 + (cell.x1 - 480) / width * width;
            const int right = cell.x1 < 480 ? 480 : left + width;
            EXPECT_LE(cell.x2, right) << cell.text << " (" << c.columns << " columns)";
        }
        EXPECT_EQ(ends, c.pages - 1);
        EXPECT_EQ(heads, c.columns * c.pages);
    }
}

// A remark of `n` characters, full-width with a half-width one now and then.
std::string Remark(int n)
{
    static const char* const kPiece[] = {"日", "当", "た", "り", "良", "好", "、", "駅", "ま", "で", "5", "分", "。", "A"};
    std::string text;
    for (int i = 0; i < n; ++i)
        text += kPiece[i % 14];
    return text;
}

// Guards long remarks and contact lines: each stays inside its box of the
// form on the rendered page (no ink right of the frame) at 6 pt or more,
// cut with "…" only past what 6 pt holds, and a text that fits keeps
// today's single item.
TEST_F(ReportFormTest, LongTextsStayInsideTheirBoxes)
{
    // Where the frame's right edge lands on a preview page, and the top of
    // the table (above it, the listing's number stands right of the frame).
    const std::string frame = path("frame.dat");
    std::ofstream(frame, std::ios::binary) << "L1930;300;1930;2900;0;0;0;;;\r\nL1000;300;1500;300;0;0;0;;;\r\n";
    const QImage edge = Preview("", frame);
    ASSERT_FALSE(edge.isNull());
    int frameX = 0, tableY = 0;
    for (int x = 0; x < edge.width(); ++x)
        if (qGray(edge.pixel(x, edge.height() / 2)) < 160)
            frameX = x;
    for (int y = 0; y < edge.height() && !tableY; ++y)
        if (qGray(edge.pixel(edge.width() / 2, y)) < 160)
            tableY = y;
    ASSERT_GT(frameX, edge.width() / 2);
    ASSERT_GT(tableY, 0);

    struct Case {
        int characters;
        bool shrunk, cut;
    };
    for (const Case& c : {Case{10, false, false}, Case{40, true, false}, Case{80, true, false}, Case{160, true, true},
                          Case{400, true, true}}) {
        const std::string remark = Remark(c.characters);
        kovra::TListingDocument one;
        ASSERT_TRUE(kovra::LoadListingBytes(one, cp932::fromUtf8("3,,,,,261201\r\n" +
                    kovra::test::ListingLine().set(1, "21000100").set(45, remark).str() + "\r\n"), "t").ok());
        request.profile.Jyusyo = Remark(c.characters / 2);
        ASSERT_TRUE(kovra::WriteReport(one, request).written);

        std::string shown;
        for (const std::string& line : Lines(request.dataFile)) {
            const auto f = Fields(line);
            if (line.empty() || line[0] != 'T' || Int(f[0]) != 700 || Int(f[1]) < 1058 || Int(f[1]) > 1108)
                continue;
            EXPECT_GE(Int(f[4]), 6) << line;
            EXPECT_LE(TextCell(f).x2, 1930) << line;
            EXPECT_LE(TextCell(f).y2, 1108) << line;
            shown += f[2];
        }
        if (!c.shrunk) {
            EXPECT_EQ(Lines(request.dataFile)[36], "T700;1070;" + remark + ";ＭＳ 明朝;9;;0;0;");
        }
        EXPECT_EQ(shown.ends_with("…"), c.cut) << c.characters;
        EXPECT_EQ(shown == remark, !c.cut) << c.characters;

        const QImage page = Preview("", request.dataFile);
        ASSERT_FALSE(page.isNull());
        ASSERT_EQ(page.size(), edge.size());
        long long outside = 0;
        // Short of the dotted frame the preview draws round the printable area.
        for (int y = tableY; y < page.height() - 3; ++y)
            for (int x = frameX + 1; x < page.width() - 3; ++x)
                outside += qGray(page.pixel(x, y)) < 160;
        EXPECT_EQ(outside, 0) << c.characters << " characters";
    }
    EXPECT_TRUE(messages.empty()) << messages.front();
}

} // namespace
