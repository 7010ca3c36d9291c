// The library boundary, through the export table itself (compiled into this
// test so its messages reach the test's sink): nothing thrown crosses an
// export, a path that is not Shift-JIS is said, and the preview's placement
// arguments from a C caller cannot overflow.
#include <gtest/gtest.h>

#include "Cp932Codec.h"
#include "Dorvex32.h"
#include "EngineState.h"
#include "Imagedsp.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "Printout.h"
#include "lumprn.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <stdexcept>

using namespace dorvex;

namespace {

class Boundary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        previous_ = SetMessageSink([this](MessageKind, const std::string& t) {
            messages.push_back(t);
            if (throwOnNext) {
                throwOnNext = false;
                throw std::runtime_error("sink broke");
            }
        });
        QPrinter& p = ThePrinter();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(dir.filePath(QStringLiteral("job.pdf")));
        p.setFullPage(true);
        p.setResolution(150);
        QFile f(dir.filePath(QStringLiteral("d.dat")));
        f.open(QIODevice::WriteOnly);
        f.write("T100;100;A;;;;;;\r\nE\r\nT100;100;B;;;;;;\r\n");
        data = f.fileName().toStdString();
        none = dir.filePath(QStringLiteral("none.dat")).toStdString();
    }
    void TearDown() override
    {
        SetPreviewOpenedHook({});
        SetMessageSink(previous_);
    }
    QTemporaryDir dir;
    std::string data, none;
    std::vector<std::string> messages;
    bool throwOnNext = false;
    MessageSink previous_;
};

int EditorWindows()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->objectName() == QLatin1String("TFomEditor") && w->isVisible();
    return n;
}

} // namespace

// Guards an exception thrown inside the engine (here by the message sink)
// reaching a C caller, or leaving a print job's event loop stuck: each
// export fails as its contract says and says why.
TEST_F(Boundary, NoExceptionCrossesAnExport)
{
    const std::string brokenOff = "予期しないエラーのため処理を中止しました (sink broke)";
    struct Case {
        const char* where;
        std::function<int()> call; // ScalPrint's result; 0 for the others
    };
    const Case cases[] = {
        {"ScalPrint, before the job", [&] { return int(ScalPrint("", none.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"ScalPrint, inside the job's event loop",
         [&] { return int(ScalPrint(none.c_str(), data.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"PrintImageDisp", [&] {
             PrintImageDisp("", "\x81", data.c_str(), 9, 0, 0, 0, -1, -1, 0, 0, 1, 1);
             return 0;
         }},
        {"StartEditFile", [&] {
             StartEditFile(none.c_str(), "");
             return 0;
         }},
    };
    SetPreviewOpenedHook([](TImageDispForm& f) { f.CloseButtonClick(); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        messages.clear();
        throwOnNext = true;
        int result = -1;
        EXPECT_NO_THROW(result = c.call());
        EXPECT_EQ(result, 0) << "ScalPrint: nothing printed";
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages.back(), brokenOff);
        EXPECT_EQ(TNowPrintingdlg::Active(), nullptr);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("job.pdf"))));
}

// Guards a path whose bytes are not Shift-JIS being looked for under a
// name full of replacement marks ("not found"): it is said as what it is.
TEST_F(Boundary, PathsThatAreNotShiftJisAreSaid)
{
    const std::string bad = dir.filePath(QStringLiteral("x")).toStdString() + "\x81"; // a lone lead byte
    const std::string said = NotShiftJisPathMessage(cp932::toUtf8(bad));
    bool previewOpened = false;
    SetPreviewOpenedHook([&](TImageDispForm& f) {
        previewOpened = true;
        f.CloseButtonClick();
    });
    const int editorsBefore = EditorWindows();
    struct Case {
        const char* call;
        std::function<int()> run;
    };
    const Case cases[] = {
        {"ScalPrint data", [&] { return int(ScalPrint("", bad.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"ScalPrint format", [&] { return int(ScalPrint(bad.c_str(), data.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"PrintImageDisp", [&] {
             PrintImageDisp("", "", bad.c_str(), 9, 0, 0, 0, -1, -1, 0, 0, 1, 1);
             return 0;
         }},
        {"StartEditFile", [&] {
             StartEditFile(bad.c_str(), "");
             return 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        messages.clear();
        EXPECT_EQ(c.run(), 0);
        EXPECT_EQ(messages, std::vector<std::string>{said});
    }
    EXPECT_FALSE(previewOpened);
    EXPECT_EQ(EditorWindows(), editorsBefore);
}

// Guards `Imagedsp` arithmetic on the caller's window arguments (right -
// left overflowing for a C caller's extreme values).
TEST(PreviewPlacement, CallerArgumentsCannotOverflow)
{
    struct Case {
        int32_t left, top, right, bottom;
        std::optional<QPoint> position;
        std::optional<QSize> size;
    };
    const Case cases[] = {
        {-1, -1, 0, 0, std::nullopt, std::nullopt}, // the platform decides
        {10, 20, 0, 0, QPoint(10, 20), std::nullopt},
        {10, -1, 0, 0, QPoint(10, -1), std::nullopt},
        {10, 20, 650, 500, QPoint(10, 20), QSize(640, 480)},
        {100, 100, 120, 90, QPoint(100, 100), QSize(100, 100)}, // never smaller than 100
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, std::nullopt, QSize(32767, 32767)},
        {INT_MAX, INT_MAX, INT_MIN, INT_MIN, QPoint(32767, 32767), std::nullopt},
        {INT_MAX, 0, INT_MAX, 1, QPoint(32767, 0), QSize(100, 100)},
        {-1, 0, INT_MAX, INT_MAX, QPoint(-1, 0), QSize(32767, 32767)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.top << ", " << c.right << ", " << c.bottom);
        const PreviewPlacement p = PlacementFromCaller(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(p.position, c.position);
        EXPECT_EQ(p.size, c.size);
    }

    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("d.dat")));
    f.open(QIODevice::WriteOnly);
    f.write("T100;100;A;;;;;;\r\n");
    f.close();
    QSize shown;
    SetPreviewOpenedHook([&](TImageDispForm& form) {
        shown = form.size();
        form.CloseButtonClick();
    });
    // right - left is 2^31 here; the height stays small to keep the window's
    // backing store small.
    PrintImageDisp("", "", f.fileName().toUtf8().constData(), 9, 0, 0, 0, -1, 0, INT_MAX, 300, 1, 1);
    SetPreviewOpenedHook({});
    EXPECT_EQ(shown.height(), 300);
    EXPECT_GE(shown.width(), 100);
    EXPECT_LE(shown.width(), 32767);
}
