// The renderer, drawn into QImage: exact pixel rules first, then whole
// scenes against checked-in reference images.
#include <gtest/gtest.h>

#include "HostileFiles.h"
#include "TestSupport.h"

#include "EngineJob.h"
#include "Imageout.h"

#include <QPainter>

#include <filesystem>

using namespace dorvex;
using petest::RenderScene;

namespace {

constexpr double k96 = 96.0 / 254.0; // device pixels per 0.1 mm at 96 dpi

bool IsColour(QRgb p, QColor c, int tol = 40)
{
    return std::abs(qRed(p) - c.red()) <= tol && std::abs(qGreen(p) - c.green()) <= tol
        && std::abs(qBlue(p) - c.blue()) <= tol;
}

int CountColour(const QImage& img, QRect r, QColor c)
{
    int n = 0;
    r = r.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += IsColour(img.pixel(x, y), c);
    return n;
}

QRect InkBounds(const QImage& img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!IsColour(img.pixel(x, y), Qt::white, 10))
                r |= QRect(x, y, 1, 1);
    return r;
}

class Render : public ::testing::Test {
protected:
    TEngineJob job;
};

} // namespace

// Guards round(x × scale) + 1 at 600 dpi and the excluded right edge of "F".
TEST_F(Render, PositionsAtSixHundredDpi)
{
    QImage img = RenderScene({{"F100;0;200;50;0;"}}, {600, 60}, 10, 600);
    EXPECT_TRUE(IsColour(img.pixel(236, 10), Qt::white));
    EXPECT_TRUE(IsColour(img.pixel(237, 10), Qt::black));
    EXPECT_TRUE(IsColour(img.pixel(472, 10), Qt::black));
    EXPECT_TRUE(IsColour(img.pixel(473, 10), Qt::white));
}

// Guards the origin shift and the display offset, which the printed form
// page ignores.
TEST_F(Render, OriginAndDisplayOffset)
{
    job.OriginX = 100; // round(37.8) = 38 pixels
    QImage img = RenderScene(job, {{"F0;0;50;50;0;"}}, {100, 40});
    EXPECT_EQ(InkBounds(img).left(), 39);
    job.DisplayOffsetX = 10;
    img = RenderScene(job, {{"F0;0;50;50;0;"}}, {100, 40});
    EXPECT_EQ(InkBounds(img).left(), 29);

    job.PrintFormatPages = true;
    QImage printed(100, 40, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter p(&printed);
        Canvas printerCanvas(&p, true);
        PrintFile f = petest::MemFile({"F0;0;50;50;0;"});
        DrawPage(job, f, &printerCanvas, 10, k96, k96);
    }
    EXPECT_EQ(InkBounds(printed).left(), 39);
}

// Guards the brush defaults: "B" white, "C" and "R" black, style 1 unfilled.
TEST_F(Render, BrushDefaults)
{
    QImage img = RenderScene({{"F0;0;600;400;9;", "B20;20;180;180;", "C220;20;380;180;", "R420;20;580;180;20;20;",
                               "B20;220;180;380;0;0;0;0;1;"}});
    EXPECT_TRUE(IsColour(img.pixel(38, 38), Qt::white));
    EXPECT_TRUE(IsColour(img.pixel(113, 38), Qt::black));
    EXPECT_TRUE(IsColour(img.pixel(189, 38), Qt::black));
    EXPECT_TRUE(IsColour(img.pixel(38, 113), Qt::red)); // hollow: the red below shows
}

// Guards pen style 5 (no line) and 6 (the whole pen inside the frame).
TEST_F(Render, PenNoneAndInsideFrame)
{
    QImage solid = RenderScene({{"B100;100;300;300;60;0;0;14;0;"}});
    QImage inside = RenderScene({{"B100;100;300;300;60;6;0;14;0;"}});
    QImage none = RenderScene({{"B100;100;300;300;60;5;0;9;0;"}});
    const int edge = 38; // round(100 × 96/254) + 1 = 39: the frame's left side
    EXPECT_TRUE(IsColour(solid.pixel(edge - 3, 75), Qt::black)) << "a wide pen reaches outside";
    EXPECT_TRUE(IsColour(inside.pixel(edge - 3, 75), Qt::white)) << "style 6 stays inside";
    EXPECT_TRUE(IsColour(inside.pixel(edge + 4, 75), Qt::black));
    EXPECT_EQ(CountColour(none, none.rect(), Qt::black), 0);
}

// Guards the background rule for broken lines: gaps take a solid brush's
// colour, stay transparent after a text with background 1.
TEST_F(Render, DashedLineGaps)
{
    QImage afterRed = RenderScene({{"B0;0;30;30;0;5;0;9;0;", "L0;200;600;200;0;1;0;"}});
    QImage afterText = RenderScene({{"T300;0;x;;8;;0;1;", "L0;200;600;200;0;1;0;"}});
    const QRect row(0, 76, 240, 3);
    EXPECT_GT(CountColour(afterRed, row, Qt::red), 10);
    EXPECT_GT(CountColour(afterRed, row, Qt::black), 10);
    EXPECT_EQ(CountColour(afterText, row, Qt::red), 0);
    EXPECT_GT(CountColour(afterText, row, Qt::white), 10);
}

// Guards hatched fills: what lies below shows between the lines.
TEST_F(Render, HatchOverTextLetsTextShow)
{
    QImage img = RenderScene({{"T20;20;■■■;ＭＳ ゴシック;48;;0;1;", "B0;0;600;400;0;0;11;11;6;"}});
    const QRect text = InkBounds(RenderScene({{"T20;20;■■■;ＭＳ ゴシック;48;;0;1;"}}));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(CountColour(img, text, Qt::black), 50);
    EXPECT_GT(CountColour(img, text, Qt::blue), 50);
}

// Guards "F" taking the surface's pattern: hatched after a hatched box,
// solid after a hollow one and after a text on white.
TEST_F(Render, FillTakesCurrentPattern)
{
    const QRect area(60, 60, 100, 60);
    QImage afterHatch = RenderScene({{"B0;0;10;10;0;5;0;0;6;", "F150;150;450;350;11;"}});
    QImage afterHollow = RenderScene({{"B0;0;10;10;0;5;0;0;1;", "F150;150;450;350;11;"}});
    QImage afterText = RenderScene({{"T500;0;x;;8;;0;0;", "F150;150;450;350;11;"}});
    EXPECT_GT(CountColour(afterHatch, area, Qt::blue), 100);
    EXPECT_GT(CountColour(afterHatch, area, Qt::white), 100);
    EXPECT_EQ(CountColour(afterHollow, area, Qt::blue), area.width() * area.height());
    EXPECT_EQ(CountColour(afterText, area, Qt::blue), area.width() * area.height());
}

// Guards the white cell behind a text with background 0 (and none with 1).
TEST_F(Render, TextBackgroundCell)
{
    QImage cell = RenderScene({{"F0;0;600;400;0;", "T50;50;-;;20;;9;0;"}});
    QImage clear = RenderScene({{"F0;0;600;400;0;", "T50;50;-;;20;;9;1;"}});
    EXPECT_GT(CountColour(cell, QRect(15, 15, 40, 40), Qt::white), 50);
    EXPECT_EQ(CountColour(clear, QRect(15, 15, 40, 40), Qt::white), 0);
}

// Guards zoom: at 5 everything is drawn at half size.
TEST_F(Render, ZoomFiveIsHalfSize)
{
    const std::vector<std::string> page = {"B100;100;500;300;10;0;0;9;0;", "T120;120;AB;;20;;0;1;"};
    const QRect full = InkBounds(RenderScene({page}, {240, 160}, 10));
    const QRect half = InkBounds(RenderScene({page}, {240, 160}, 5));
    EXPECT_NEAR(half.width(), full.width() / 2.0, 2.0);
    EXPECT_NEAR(half.left(), full.left() / 2.0, 2.0);
    EXPECT_NEAR(half.top(), full.top() / 2.0, 2.0);
}

// Guards an unknown face: drawn with some font, Western character set.
TEST_F(Render, UnknownFaceStillDraws)
{
    Canvas canvas;
    PrintFile f = petest::MemFile({"T0;0;Abc;No Such Face 123;20;;0;1;"});
    DrawPage(job, f, &canvas, 10, k96, k96);
    EXPECT_EQ(canvas.charset, 0);
    EXPECT_FALSE(InkBounds(RenderScene({{"T0;0;Abc;No Such Face 123;20;;0;1;"}})).isEmpty());
}

// Guards images: stretched into the rectangle; a missing file is reported
// and skipped; a corrupt one draws a crossed box and is reported once.
TEST_F(Render, Images)
{
    QTemporaryDir dir;
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    const std::string bmp = dir.filePath(QStringLiteral("red.bmp")).toStdString();
    ASSERT_TRUE(red.save(QString::fromStdString(bmp), "BMP"));
    const std::string bad = petest::WriteTempFile(dir, "bad.bmp", "BM not really a bitmap");

    petest::MessageLog log;
    QImage img = RenderScene(job, {{"I20;20;300;200;" + bmp + ";", "I320;20;600;200;" + bad + ";",
                               "I0;0;10;10;" + dir.path().toStdString() + "/none.bmp;", "F0;300;100;400;2;"},
                              {"I320;20;600;200;" + bad + ";"}});
    EXPECT_TRUE(IsColour(img.pixel(40, 40), Qt::red));
    EXPECT_TRUE(IsColour(img.pixel(40, 100), Qt::white));
    EXPECT_GT(CountColour(img, QRect(122, 9, 105, 66), Qt::black), 100) << "placeholder";
    EXPECT_TRUE(IsColour(img.pixel(10, 140), QColor(0, 128, 0))) << "drawing went on";
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[0], "\"" + bad + "\"は画像として読めません!");
    EXPECT_EQ(log.messages[1], "\"" + dir.path().toStdString() + "/none.bmp\"が見つかりません!");
}

// Guards the stretch from the first corner by x2 - x1 and y2 - y1: a second
// corner left of or above the first mirrors the picture into the rectangle.
TEST_F(Render, ImagesMirrorWhenTheSecondCornerComesFirst)
{
    QTemporaryDir dir;
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixel(0, 0, qRgb(255, 0, 0));   // top left red
    quarters.setPixel(1, 0, qRgb(0, 0, 255));   // top right blue
    quarters.setPixel(0, 1, qRgb(0, 128, 0));   // bottom left green
    quarters.setPixel(1, 1, qRgb(255, 255, 0)); // bottom right yellow
    const std::string bmp = dir.filePath(QStringLiteral("q.bmp")).toStdString();
    ASSERT_TRUE(quarters.save(QString::fromStdString(bmp), "BMP"));
    const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 128, 0), yellow(255, 255, 0);
    struct Case { const char* corners; QColor topLeft, topRight, bottomLeft; };
    const Case cases[] = {
        {"20;20;300;200", red, blue, green},
        {"300;20;20;200", blue, red, yellow},  // mirrored left to right
        {"20;200;300;20", green, yellow, red}, // upside down
        {"300;200;20;20", yellow, green, blue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.corners);
        const QImage img = RenderScene({{std::string("I") + c.corners + ";" + bmp + ";"}});
        // The rectangle is (9, 9)-(114, 77) at 96 dpi whichever corner is first.
        EXPECT_TRUE(IsColour(img.pixel(35, 26), c.topLeft));
        EXPECT_TRUE(IsColour(img.pixel(88, 26), c.topRight));
        EXPECT_TRUE(IsColour(img.pixel(35, 60), c.bottomLeft));
        EXPECT_TRUE(IsColour(img.pixel(120, 40), Qt::white)) << "nothing outside";
    }
}

// Guards absurd geometry: a 10^9 rectangle and pen finish and stay bounded.
TEST_F(Render, AbsurdGeometryIsBounded)
{
    QImage img = RenderScene({{"C-1000000000;-1000000000;1000000000;1000000000;1000000000;1;9;11;6;",
                               "L-2000000000;5;2000000000;5;0;2;0;", "R0;0;1000000000;1000000000;1000000000;1000000000;;;;;"}});
    EXPECT_FALSE(img.isNull());
}

// Guards the colour table's ends.
TEST_F(Render, ColourNumbers)
{
    EXPECT_EQ(ColourFromCode(0), QColor(Qt::black));
    EXPECT_EQ(ColourFromCode(9), QColor(255, 0, 0));
    EXPECT_EQ(ColourFromCode(15), QColor(255, 255, 0));
    EXPECT_EQ(ColourFromCode(36), QColor(Qt::black));
    EXPECT_EQ(ColourFromCode(-1), QColor(Qt::black));
    EXPECT_TRUE(ColourFromCode(20).isValid());
}

// ---- scenes against references ----

TEST_F(Render, SceneEveryCommand)
{
    QImage img = RenderScene({{"T10;10;文字 Text;ＭＳ 明朝;14;B;4;0;", "L10;80;600;80;5;0;9;",
                               "B10;100;150;200;3;0;0;10;0;", "R170;100;300;200;30;30;3;0;4;13;0;",
                               "C320;100;450;200;3;0;5;15;0;", "F470;100;600;200;6;",
                               "T10;220;ゴシック;ＭＳ ゴシック;12;U;9;1;", "T300;220;Strike;ＭＳ Ｐ明朝;12;S;2;1;"}});
    EXPECT_TRUE(petest::MatchesReference(img, "commands"));
}

TEST_F(Render, ScenePenStyles)
{
    std::vector<std::string> page;
    for (int s = 0; s <= 6; ++s)
        page.push_back("L10;" + std::to_string(20 + s * 50) + ";600;" + std::to_string(20 + s * 50) + ";0;"
                       + std::to_string(s) + ";0;");
    page.push_back("B10;370;300;410;8;6;9;14;0;");
    EXPECT_TRUE(petest::MatchesReference(RenderScene({page}, {240, 170}), "pens"));
}

TEST_F(Render, SceneBrushStyles)
{
    std::vector<std::string> page = {"T0;0;背景テキスト背景テキスト;ＭＳ ゴシック;28;;0;1;"};
    for (int s = 0; s <= 7; ++s) {
        const int x = (s % 4) * 150, y = (s / 4) * 200;
        page.push_back("B" + std::to_string(x + 5) + ";" + std::to_string(y + 5) + ";" + std::to_string(x + 145) + ";"
                       + std::to_string(y + 190) + ";0;0;0;11;" + std::to_string(s) + ";");
    }
    EXPECT_TRUE(petest::MatchesReference(RenderScene({page}), "brushes"));
}

TEST_F(Render, SceneBackgroundRules)
{
    EXPECT_TRUE(petest::MatchesReference(
        RenderScene({{"T10;10;文字の上の網;ＭＳ 明朝;20;;0;1;", "B5;5;300;80;0;0;11;11;6;",
                      "T10;120;x;;8;;0;1;", "L10;150;600;150;0;1;0;",
                      "B400;100;440;130;0;5;0;9;0;", "L10;190;600;190;0;1;0;",
                      "B0;0;1;1;0;5;0;0;6;", "F10;220;190;380;2;",
                      "B0;0;1;1;0;5;0;0;1;", "F210;220;390;380;2;",
                      "T500;380;x;;8;;0;0;", "F410;220;590;380;2;"}}),
        "background_rules"));
}

TEST_F(Render, SceneZoomFive)
{
    EXPECT_TRUE(petest::MatchesReference(
        RenderScene({{"T10;10;文字 Text;ＭＳ 明朝;14;B;4;0;", "B10;100;300;300;8;1;0;10;0;", "C320;100;600;300;3;0;5;15;7;"}},
                    {240, 160}, 5),
        "zoom5"));
}

// Guards the "I" item's reading: a picture is drawn; a FIFO or a device is
// refused at once instead of blocking the page, a file too large is not
// read, and bytes that are no picture are said to be so.
TEST_F(Render, ImageItemsReadOnlyRegularFilesOfSaneSize)
{
    QTemporaryDir dir;
    const std::string dirPath = dir.path().toStdString();
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("red.png")), "PNG"));
    const std::string garbage = petest::WriteTempFile(dir, "garbage.png", "no picture");
    const std::string big = petest::WriteTempFile(dir, "big.png", "");
    std::filesystem::resize_file(big, kImageFileSizeLimit + 1);
    const std::string fifo = dirPath + "/fifo.png";
    const bool haveFifo = kovra::test::MakeFifo(fifo);
    struct Case { std::string path, message; };
    const Case cases[] = {
        {dirPath + "/red.png", ""},
        {garbage, "\"" + garbage + "\"は画像として読めません!"},
        {big, "ファイル " + big + " は大きすぎるため開けません (" + std::to_string(kImageFileSizeLimit + 1) +
                  " バイト、上限 " + std::to_string(kImageFileSizeLimit) + " バイト)"},
        {"/dev/zero", "ファイル /dev/zero は開けません"},
        {haveFifo ? fifo : std::string("/dev/zero"), "ファイル " + (haveFifo ? fifo : std::string("/dev/zero")) + " は開けません"},
    };
    for (const Case& c : cases) {
        if (!std::filesystem::exists(c.path))
            continue;
        petest::MessageLog log;
        const QImage img = RenderScene({{"I0;0;100;100;" + c.path + ";"}}, {100, 100});
        EXPECT_EQ(log.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message})
            << c.path;
        EXPECT_EQ(img.pixelColor(20, 20) == QColor(Qt::red), c.message.empty()) << c.path;
    }
}
