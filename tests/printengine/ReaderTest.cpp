// The language reader: fields, integers, pages, setup lines.
#include <gtest/gtest.h>

#include "TestSupport.h"

#include "Cp932Codec.h"
#include "EngineJob.h"
#include "Imageout.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

using namespace dorvex;
using petest::MemFile;

namespace {

std::vector<std::string> Fields(std::string line, int count)
{
    if (line.back() != ';')
        line.push_back(';');
    TEngineJob job;
    job.FieldCursor = 2;
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(NextField(job, line));
    return out;
}

} // namespace

// Guards the cut at ";" and the first field starting right after the letter.
TEST(NextField, CutsAtSeparatorsFromSecondCharacter)
{
    EXPECT_EQ(Fields("T1940;160;ABC;", 4), (std::vector<std::string>{"1940", "160", "ABC", ""}));
    EXPECT_EQ(Fields("T;;x;", 3), (std::vector<std::string>{"", "", "x"}));
    EXPECT_EQ(Fields("t100;200;ABC", 3), (std::vector<std::string>{"100", "200", "ABC"}));
}

// Guards the cursor at or past the line end: empty result, cursor unmoved.
TEST(NextField, PastTheEndGivesEmptyAndKeepsCursor)
{
    std::string line = "T1;";
    TEngineJob job;
    job.FieldCursor = 2;
    EXPECT_EQ(NextField(job, line), "1");
    const int cursor = job.FieldCursor;
    EXPECT_EQ(NextField(job, line), "");
    EXPECT_EQ(job.FieldCursor, cursor);
}

// Guards that a Shift-JIS trail byte is never taken for the separator.
TEST(NextField, DoubleByteTextSurvives)
{
    std::string line = cp932::fromUtf8("T1;2;表示ソ能;ＭＳ 明朝;");
    TEngineJob job;
    job.FieldCursor = 2;
    NextField(job, line);
    NextField(job, line);
    EXPECT_EQ(TextField(job, line), "表示ソ能");
    EXPECT_EQ(TextField(job, line), "ＭＳ 明朝");
}

// Guards the "NG" report and the cut of an over-long field on a whole character.
TEST(NextField, OverlongFieldIsCutAndReported)
{
    petest::MessageLog log;
    std::string line = "T" + std::string(70000, 'x') + ";5;";
    TEngineJob job;
    job.FieldCursor = 2;
    EXPECT_EQ(NextField(job, line).size(), 64u * 1024u);
    EXPECT_EQ(NextField(job, line), "5");
    EXPECT_EQ(log.messages, (std::vector<std::string>{"NG"}));
}

// Guards the integer rule: sign, leading blanks, nothing after, 32 bits.
TEST(ParseIntField, Table)
{
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"12", true, 12}, {"  12", true, 12}, {"+5", true, 5}, {"-7", true, -7},
        {"12 ", false, 0}, {"1a", false, 0}, {"", false, 0}, {"-", false, 0}, {" ", false, 0},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0}, {"99999999999999999999", false, 0}, {"0x10", false, 0}, {"1.5", false, 0},
    };
    for (const Case& c : cases) {
        int v = 0;
        EXPECT_EQ(ParseIntField(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

// Guards the text item's defaults and the misreading after a ";" in the text.
TEST(TextItem, DefaultsAndShiftAfterSemicolonInText)
{
    TEngineJob job;
    Canvas canvas;
    PrintFile f = MemFile({"T100;200;ABC;;;;;;"});
    DrawPage(job, f, &canvas, 10, 600 / 254.0, 600 / 254.0);
    EXPECT_EQ(canvas.fontFace, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(canvas.fontHeight, -100); // 12 pt at 600 dpi
    EXPECT_EQ(canvas.brushColour(), QColor(Qt::white)); // background 0: white cell
    EXPECT_FALSE(canvas.lastFont.bold());

    PrintFile g = MemFile({"T100;200;A;B;ＭＳ 明朝;9;;0;0;"});
    DrawPage(job, g, &canvas, 10, 600 / 254.0, 600 / 254.0);
    EXPECT_EQ(canvas.fontFace, QStringLiteral("B"));
    EXPECT_EQ(canvas.fontHeight, -100); // the face landed in the size field: 12 pt
}

// Guards the eleven style codes, their letter order and case.
TEST(TextItem, StyleCodes)
{
    struct Case { const char* style; bool b, i, u, s; };
    const Case cases[] = {
        {"B", 1, 0, 0, 0}, {"I", 0, 1, 0, 0}, {"U", 0, 0, 1, 0}, {"S", 0, 0, 0, 1}, {"BIS", 1, 1, 0, 1},
        {"BIU", 1, 1, 1, 0}, {"bi", 1, 1, 0, 0}, {"IS", 0, 1, 0, 1}, {"UB", 0, 0, 0, 0}, {"bold", 0, 0, 0, 0},
        {"", 0, 0, 0, 0}, {"SB", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TEngineJob job;
        Canvas canvas;
        PrintFile f = MemFile({std::string("T0;0;x;;10;") + c.style + ";0;1;"});
        DrawPage(job, f, &canvas, 10, 1, 1);
        EXPECT_EQ(canvas.lastFont.bold(), c.b) << c.style;
        EXPECT_EQ(canvas.lastFont.italic(), c.i) << c.style;
        EXPECT_EQ(canvas.lastFont.underline(), c.u) << c.style;
        EXPECT_EQ(canvas.lastFont.strikeOut(), c.s) << c.style;
        EXPECT_FALSE(canvas.bold || canvas.italic || canvas.underline || canvas.strikeOut) << "reset after the item";
    }
}

// Guards the negative size (keep the previous height) and the colour reset.
TEST(TextItem, NegativeSizeKeepsHeight)
{
    TEngineJob job;
    Canvas canvas;
    PrintFile f = MemFile({"T0;0;a;;36;;9;1;", "T0;0;b;;-1;;;1;"});
    DrawPage(job, f, &canvas, 10, 96 / 254.0, 96 / 254.0);
    EXPECT_EQ(canvas.fontHeight, -48);
    EXPECT_EQ(canvas.fontColour, QColor(Qt::black));
}

// Guards absurd sizes: a 10^9-point font must not ask for a 10^9-pixel glyph.
TEST(TextItem, AbsurdSizeIsBounded)
{
    TEngineJob job;
    Canvas canvas;
    PrintFile f = MemFile({"T0;0;a;;1000000000;;0;1;"});
    DrawPage(job, f, &canvas, 10, 600 / 254.0, 600 / 254.0);
    EXPECT_GE(canvas.fontHeight, -8192);
}

// Guards the face stand-ins and the Shift-JIS character set of Windows faces.
TEST(Fonts, JapaneseFacesStandInAndUseShiftJis)
{
    EnsureEngineStarted();
    if (!CharsetFontList(128).contains(QStringLiteral("IPAMincho")))
        GTEST_SKIP() << "IPA fonts not installed";
    EXPECT_EQ(SubstituteFace(QStringLiteral("ＭＳ 明朝")), QStringLiteral("IPAMincho"));
    EXPECT_EQ(SubstituteFace(QStringLiteral("ＭＳ ゴシック")), QStringLiteral("IPAGothic"));
    EXPECT_EQ(SubstituteFace(QStringLiteral("ＭＳ Ｐ明朝")), QStringLiteral("IPAPMincho"));
    EXPECT_EQ(SubstituteFace(QStringLiteral("ＭＳ Ｐゴシック")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(SubstituteFace(QStringLiteral("MS Mincho")), QStringLiteral("IPAMincho"));
    EXPECT_EQ(SubstituteFace(QStringLiteral("ms pgothic")), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(CharsetOfFace(QStringLiteral("ＭＳ 明朝")), 128);
    EXPECT_EQ(CharsetOfFace(QStringLiteral("ipagothic")), 128); // case ignored
    EXPECT_EQ(CharsetOfFace(QStringLiteral("No Such Face")), 0);
}

// Guards the fallback of faces that are not installed: each stands in by a
// face of its own kind (metric-compatible for the Western faces), and a
// proportional request never ends in a monospaced face.
TEST(Fonts, MissingFacesFallBackToTheSameKind)
{
    EnsureEngineStarted();
    for (const char* needed : {"IPAPGothic", "Liberation Sans"})
        if (!QFontDatabase::families().contains(QString::fromUtf8(needed)))
            GTEST_SKIP() << needed << " not installed";
    using K = kovra::FaceKind;
    struct Case { const char* asked; const char* drawnWith; K kind; };
    const Case cases[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic", K::ProportionalSans},
        {"ＭＳ Ｐ明朝", "IPAPMincho", K::ProportionalSerif},
        {"ＭＳ ゴシック", "IPAGothic", K::Monospaced},
        {"Arial", "Liberation Sans", K::ProportionalSans},
        {"times new roman", "Liberation Serif", K::ProportionalSerif},
        {"Courier New", "Liberation Mono", K::Monospaced},
        {"ＨＧ丸ゴシックM-PRO", "IPAPGothic", K::ProportionalSans},
        {"Century Schoolbook XX", "IPAPMincho", K::ProportionalSerif},
        {"Lucida Console XX", "IPAGothic", K::Monospaced},
        {"No Such Face", "IPAPGothic", K::ProportionalSans},
    };
    for (const Case& c : cases) {
        const QString asked = QString::fromUtf8(c.asked);
        EXPECT_EQ(SubstituteFace(asked), QString::fromUtf8(c.drawnWith)) << c.asked;
        EXPECT_EQ(KindOfFace(asked), c.kind) << c.asked;
        const QFontInfo drawn(FontForFace(asked));
        EXPECT_EQ(drawn.family(), QString::fromUtf8(c.drawnWith)) << c.asked;
        if (c.kind != K::Monospaced) { // (the IPA fixed faces are dual width, not marked fixed)
            EXPECT_FALSE(drawn.fixedPitch()) << c.asked;
        }
    }
    EXPECT_EQ(CharsetOfFace(QStringLiteral("No Such Face")), 0) << "the face asked for decides the character set";
}

// Guards page counting: "E" and "e" at the line start only, final "E" adds a page.
TEST(CountPages, Table)
{
    QTemporaryDir dir;
    struct Case { std::vector<std::string> lines; int pages; };
    const Case cases[] = {
        {{}, 1},
        {{"T0;0;a;"}, 1},
        {{"T0;0;a;", "", "E", "T0;0;b;", "", "E", "T0;0;c;"}, 3},
        {{"T0;0;a;", "e", "T0;0;b;"}, 2},
        {{"T0;0;a;", " E", "*E"}, 1},
        {{"T0;0;a;", "E"}, 2},
        {{"End of page 1", "T"}, 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = petest::WriteTempFile(dir, "f" + std::to_string(n++), petest::Cp932Lines(c.lines));
        EXPECT_EQ(CountPages(path), c.pages);
    }
}

// Guards the missing-file message text and the silent empty name.
TEST(OpenIfExists, MessagesAndCount)
{
    petest::MessageLog log;
    PrintFile f;
    EXPECT_FALSE(OpenIfExists(f, ""));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_FALSE(OpenIfExists(f, "/no/such/dir/書式.fom"));
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], "\"/no/such/dir/書式.fom\"が見つかりません!");
    EXPECT_EQ(CountPages("/no/such/file"), 1);
}

// Guards the setup readers: any position, first line wins, lower case, top before left.
TEST(SetupLines, FirstOfEachKindAnywhere)
{
    TEngineJob e;
    PrintFile f = MemFile({"T0;0;x;", "E", "m150;200;", "M1;2;", "P2100;2970", "D5;-6;", "d7;8;"});
    f.reset();
    ReadMarginLine(e, f);
    f.reset();
    ReadPaperSizeLine(e, f);
    f.reset();
    ReadOffsetLine(e, f);
    EXPECT_TRUE(e.FormatMarginsGiven);
    EXPECT_EQ(e.FormatTopMargin, 150);
    EXPECT_EQ(e.FormatLeftMargin, 200);
    EXPECT_EQ(e.CustomPaperWidth, 2100);
    EXPECT_EQ(e.CustomPaperHeight, 2970);
    EXPECT_EQ(e.DisplayOffsetX, 5);
    EXPECT_EQ(e.DisplayOffsetY, -6);
}

// Guards that a format without the line keeps the values the job had.
TEST(SetupLines, AbsentLineChangesNothing)
{
    TEngineJob e;
    e.CustomPaperWidth = 111;
    e.DisplayOffsetX = 9;
    PrintFile f = MemFile({"T0;0;x;", "B0;0;1;1;"});
    ReadPaperSizeLine(e, f);
    f.reset();
    ReadOffsetLine(e, f);
    f.reset();
    ReadMarginLine(e, f);
    EXPECT_EQ(e.CustomPaperWidth, 111);
    EXPECT_EQ(e.DisplayOffsetX, 9);
    EXPECT_FALSE(e.FormatMarginsGiven);
}

// Guards the state every job starts with.
TEST(EngineJob, InitialValues)
{
    const TEngineJob e;
    EXPECT_EQ(e.PageTotal, 1);
    EXPECT_EQ(e.CurrentPage, 1);
    EXPECT_EQ(e.PaperState, 0);
    EXPECT_TRUE(e.FormatFileName.empty());
    EXPECT_FALSE(e.PrintFormatPages);
}
