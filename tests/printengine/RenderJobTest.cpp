// PDF and PNG output of whole jobs, as `kovra render` makes them.
#include "PdfPages.h"
#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "TestSupport.h"

#include "RenderJob.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <filesystem>

using namespace dorvex;

namespace {

int PdfPageCount(const std::string& path) { return kovra::testing::PdfPageCount(QString::fromStdString(path)); }

std::vector<std::string> Pages(int pages)
{
    std::vector<std::string> lines;
    for (int p = 1; p <= pages; ++p) {
        lines.push_back("T100;100;page " + std::to_string(p) + ";ＭＳ 明朝;12;;0;1;");
        if (p < pages)
            lines.push_back("E");
    }
    return lines;
}

} // namespace

// Guards that the PDF holds exactly the print job's sheets, closing form
// pages included.
TEST(RenderJob, PdfSheetsFollowThePrintWalk)
{
    QTemporaryDir dir;
    const std::string fom = petest::WriteTempFile(dir, "f.fom", petest::Cp932Lines(Pages(2)));
    const std::string dat = petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(3)));
    const std::string pdf = dir.filePath(QStringLiteral("out.pdf")).toStdString();
    int sheets = 0;
    ASSERT_TRUE(RenderJobToPdf(fom, dat, pdf, {}, &sheets));
    EXPECT_EQ(sheets, 4);
    EXPECT_EQ(PdfPageCount(pdf), 4);
}

// Guards bitmaps in a PDF: kept pixel for pixel, never re-encoded as JPEG
// (a two-colour bitmap turned into grey blocks), as poppler lists them.
TEST(RenderJob, PdfKeepsBitmapsLossless)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        GTEST_SKIP() << "pdfimages (poppler-utils) not installed";
    QTemporaryDir dir;
    struct Case { const char* name; QImage::Format format; };
    for (const Case& c : {Case{"two-colour.bmp", QImage::Format_Mono}, Case{"colour.bmp", QImage::Format_RGB32}}) {
        SCOPED_TRACE(c.name);
        QImage picture(64, 64, c.format);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                picture.setPixelColor(x, y, ((x / 8 + y / 8) % 2) ? Qt::black : Qt::white);
        const QString bmp = dir.filePath(QString::fromUtf8(c.name));
        ASSERT_TRUE(picture.save(bmp, "BMP"));
        const std::string dat = petest::WriteTempFile(
            dir, "d.dat", petest::Cp932Lines({"I100;100;1100;1100;" + bmp.toStdString() + ";"}));
        const std::string pdf = dir.filePath(QStringLiteral("out.pdf")).toStdString();
        ASSERT_TRUE(RenderJobToPdf("", dat, pdf, {}, nullptr));
        QProcess list;
        list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), QString::fromStdString(pdf)});
        ASSERT_TRUE(list.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_GE(lines.size(), 3) << "header and one image";
        for (const QString& line : lines.mid(2))
            EXPECT_FALSE(line.contains(QStringLiteral("jpeg"))) << line.toStdString();
    }
}

// Guards the job's refusals: missing data, unnamed data, missing format,
// unwritable output; each said once, nothing written.
TEST(RenderJob, FailuresAreReportedAndWriteNothing)
{
    QTemporaryDir dir;
    const std::string dat = petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(1)));
    const std::string pdf = dir.filePath(QStringLiteral("out.pdf")).toStdString();
    const std::string fifo = dir.filePath(QStringLiteral("fifo")).toStdString();
    if (!kovra::test::MakeFifo(fifo))
        GTEST_SKIP() << "no FIFOs here";
    const std::string big = petest::WriteTempFile(dir, "big.dat", "");
    std::filesystem::resize_file(big, kPrintFileSizeLimit + 1); // sparse: nothing is stored
    struct Case { std::string fom, dat, out, message; };
    const Case cases[] = {
        {"", dir.path().toStdString() + "/none.dat", pdf, "\"" + dir.path().toStdString() + "/none.dat\"が見つかりません!"},
        {"", "", pdf, "印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!"},
        {dir.path().toStdString() + "/none.fom", dat, pdf, "\"" + dir.path().toStdString() + "/none.fom\"が見つかりません!"},
        {"", dat, dir.path().toStdString() + "/no/such/dir/out.pdf",
         "ファイル " + dir.path().toStdString() + "/no/such/dir/out.pdf を作成できません"},
        // Only regular files are read: a device or a FIFO is refused at once.
        {"", "/dev/zero", pdf, "ファイル /dev/zero は開けません"},
        {fifo, dat, pdf, "ファイル " + fifo + " は開けません"},
        {"", big, pdf, "ファイル " + big + " は大きすぎるため開けません (" + std::to_string(kPrintFileSizeLimit + 1) +
                           " バイト、上限 " + std::to_string(kPrintFileSizeLimit) + " バイト)"},
    };
    for (const Case& c : cases) {
        petest::MessageLog log;
        EXPECT_FALSE(RenderJobToPdf(c.fom, c.dat, c.out, {}));
        EXPECT_EQ(log.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(c.out)));
    }
}

// Guards the PNG pages: one per preview page, the printable area at the
// requested zoom and resolution.
TEST(RenderJob, PngPreviewPages)
{
    QTemporaryDir dir;
    const std::string fom = petest::WriteTempFile(dir, "f.fom", petest::Cp932Lines(Pages(2)));
    const std::string dat = petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(3)));
    RenderOptions o;
    o.zoom = 5;
    int pages = 0;
    ASSERT_TRUE(RenderPreviewToPng(fom, dat, dir.path().toStdString() + "/png", o, &pages));
    EXPECT_EQ(pages, 4);
    QImage last(dir.path() + QStringLiteral("/png/page-4.png"));
    ASSERT_FALSE(last.isNull());
    EXPECT_EQ(last.width(), PreviewPixels(210, 5, 96) + 2);
    EXPECT_EQ(last.height(), PreviewPixels(297, 5, 96) + 2);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/png/page-5.png")));
}

// Guards a page image too large to make: its size is said, nothing is
// allocated or written.  (A full disk under the PNG and PDF outputs is
// tried by the command-line tests.)
TEST(RenderJob, PageImageTooLargeSaysItsSize)
{
    QTemporaryDir dir;
    const std::string fom = petest::WriteTempFile(dir, "f.fom", petest::Cp932Lines(Pages(1)));
    const std::string dat = petest::WriteTempFile(dir, "d.dat", petest::Cp932Lines(Pages(2)));
    petest::MessageLog log;
    RenderOptions huge;
    huge.dpi = 2400;
    huge.zoom = 20;
    EXPECT_FALSE(RenderPreviewToPng(fom, dat, dir.path().toStdString() + "/png", huge));
    const int w = PreviewPixels(210, 20, 2400) + 2, h = PreviewPixels(297, 20, 2400) + 2;
    EXPECT_EQ(log.messages, std::vector<std::string>{"ページの画像 (" + std::to_string(w) + " × " + std::to_string(h) +
                                                     " ピクセル) は大きすぎるため作成できません"});
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/png/page-1.png")));
}
