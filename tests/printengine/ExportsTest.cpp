// The library boundary through the export table itself (compiled into this
// test, so its messages reach the test's prompter).
#include <gtest/gtest.h>

#include "Cp932Codec.h"
#include "Dorvex32.h"
#include "Imagedsp.h"
#include "Messages.h"
#include "Printout.h"
#include "ScriptedPrompter.h"
#include "lumprn.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <stdexcept>
#include <utility>

using namespace dorvex;

namespace {

class Boundary : public ::testing::Test {
protected:
    void SetUp() override
    {
        prompter.answer = [this](const kovra::Question& q) {
            messages.push_back(q.text);
            if (std::exchange(throwOnNext, false))
                throw std::runtime_error("sink broke");
            return kovra::Answer::Ok;
        };
        pdf = dir.filePath(QStringLiteral("job.pdf"));
        ThePrinter().setOutputFormat(QPrinter::PdfFormat);
        ThePrinter().setOutputFileName(pdf);
        QFile f(dir.filePath(QStringLiteral("d.dat")));
        f.open(QIODevice::WriteOnly);
        f.write("T100;100;A;;;;;;\r\nE\r\nT100;100;B;;;;;;\r\n");
        data = f.fileName().toStdString();
        none = dir.filePath(QStringLiteral("none.dat")).toStdString();
        // A preview that opens closes at once (and says so).
        prompter.windowShown = [this](QWidget& window) {
            if (auto* form = qobject_cast<TImageDispForm*>(&window)) {
                previewOpened = true;
                form->CloseButtonClick();
            }
        };
    }
    int Preview(const std::string& format) // PrintImageDisp has no result
    {
        PrintImageDisp("", format.c_str(), data.c_str(), 9, 0, 0, 0, -1, -1, 0, 0, 1, 1);
        return 0;
    }
    int Edit(const std::string& path)
    {
        StartEditFile(path.c_str(), "");
        return 0;
    }
    QTemporaryDir dir;
    QString pdf;
    std::string data, none;
    std::vector<std::string> messages;
    bool throwOnNext = false, previewOpened = false;
    kovra::testing::ScriptedPrompter prompter;
};

} // namespace

// Guards an exception thrown inside the engine (here by the message sink)
// reaching a C caller, or a print job's event loop: each export fails as
// its contract says (ScalPrint 0) and says why.
TEST_F(Boundary, NoExceptionCrossesAnExport)
{
    const std::pair<const char*, std::function<int()>> cases[] = {
        {"ScalPrint, before the job", [&] { return int(ScalPrint("", none.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"ScalPrint, in the job's event loop",
         [&] { return int(ScalPrint(none.c_str(), data.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"PrintImageDisp", [&] { return Preview("\x81"); }},
        {"StartEditFile", [&] { return Edit(none); }},
    };
    for (const auto& [where, call] : cases) {
        SCOPED_TRACE(where);
        messages.clear();
        throwOnNext = true;
        int result = -1;
        EXPECT_NO_THROW(result = call());
        EXPECT_EQ(result, 0);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages.back(), "予期しないエラーのため処理を中止しました (sink broke)");
        EXPECT_EQ(kovra::testing::TopLevelWindow<TNowPrintingdlg>(), nullptr);
    }
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// Guards a path whose bytes are not Shift-JIS being looked for under a name
// full of replacement marks ("not found"): it is said as what it is.
TEST_F(Boundary, PathsThatAreNotShiftJisAreSaid)
{
    const std::string bad = dir.filePath(QStringLiteral("x")).toStdString() + "\x81"; // a lone lead byte
    const auto widgetsBefore = QApplication::topLevelWidgets().size();
    const std::pair<const char*, std::function<int()>> cases[] = {
        {"ScalPrint data", [&] { return int(ScalPrint("", bad.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"ScalPrint format", [&] { return int(ScalPrint(bad.c_str(), data.c_str(), "", 9, 0, 0, 0, 1, 0)); }},
        {"PrintImageDisp", [&] { return Preview(bad); }},
        {"StartEditFile", [&] { return Edit(bad); }},
    };
    for (const auto& [call, run] : cases) {
        SCOPED_TRACE(call);
        messages.clear();
        EXPECT_EQ(run(), 0);
        EXPECT_EQ(messages, std::vector<std::string>{msg::NotShiftJisPath(cp932::toUtf8(bad))});
    }
    EXPECT_FALSE(previewOpened);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), widgetsBefore) << "no editor window";
}

// Guards `Imagedsp` arithmetic on a C caller's window arguments (right -
// left overflowing for extreme values).
TEST(PreviewPlacement, CallerArgumentsCannotOverflow)
{
    struct Case {
        int32_t left, top, right, bottom;
        std::optional<QPoint> position;
        std::optional<QSize> size;
    };
    const Case cases[] = {
        {-1, -1, 0, 0, std::nullopt, std::nullopt}, // the platform decides
        {10, -1, 0, 0, QPoint(10, -1), std::nullopt},
        {10, 20, 650, 500, QPoint(10, 20), QSize(640, 480)},
        {100, 100, 120, 90, QPoint(100, 100), QSize(100, 100)}, // never smaller than 100
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX, std::nullopt, QSize(32767, 32767)},
        {INT_MAX, INT_MAX, INT_MIN, INT_MIN, QPoint(32767, 32767), std::nullopt},
        {-1, 0, INT_MAX, 1, QPoint(-1, 0), QSize(32767, 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.top << ", " << c.right << ", " << c.bottom);
        const PreviewPlacement p = PlacementFromCaller(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(p.position, c.position);
        EXPECT_EQ(p.size, c.size);
    }
}
