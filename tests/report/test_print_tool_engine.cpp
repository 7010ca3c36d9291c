// TPrintTool's hand-over to the print engine library (the shared Dorvex32),
// with its windows answered from a timer as a user would.
#include "PrintTool.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using kovra::TPrintTool;

class QtApp : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "report_engine_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] ::testing::Environment* const kApp = ::testing::AddGlobalTestEnvironment(new QtApp);

void WriteBytes(const QString& path, const char* bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Answers the engine's modal windows until `done`: a message box is noted
// and closed, the window looked for is handed to `seen` and closed.
void AnswerWindows(std::vector<QString>& boxes, std::function<bool(QWidget&)> seen)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &boxes, seen]() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes.push_back(box->text());
            box->done(QMessageBox::Ok);
        } else if (seen(*w)) {
            timer->stop();
            timer->deleteLater();
            qobject_cast<QDialog*>(w)->reject();
        }
    });
    timer->start();
}

} // namespace

// Guards the viewer converting its paths to Shift-JIS before the engine: a
// folder named in Korean, or "josé", has no Shift-JIS spelling, so its
// report was "not found".  The preview shows the job's pages; printing
// reaches the print dialog.
TEST(PrintToolEngine, PathsWithoutAShiftJisSpellingReachTheEngine)
{
    QTemporaryDir base;
    const QString folder = base.filePath(QStringLiteral("보고서 josé"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fom = folder + QStringLiteral("/KvReport.FOM"), dat = folder + QStringLiteral("/KvReport.tmp");
    WriteBytes(fom, "B0;0;1000;1000;\r\n");
    WriteBytes(dat, "T100;100;A;;;;;;\r\nE\r\nT100;100;B;;;;;;\r\n");
    TPrintTool::ResetSettings();
    TPrintTool tool;
    tool.SetFormatFileName(fom.toStdString());
    tool.SetDataFileName(dat.toStdString());
    tool.SetPreviewTitle("KovraViewer Report");
    tool.SetPaperCode(9);
    tool.SetShowPrintDialog(true); // never prints on a real printer

    struct Case {
        const char* command;
        std::function<void()> run;
        std::function<bool(QWidget&)> isTheWindow;
        QString found;
    };
    const Case cases[] = {
        {"preview", [&] { tool.Preview(); },
         [](QWidget& w) { return w.objectName() == QLatin1String("TImageDispForm"); }, QStringLiteral("1/2")},
        {"print", [&] { EXPECT_FALSE(tool.Print()) << "the dialog was cancelled"; },
         [](QWidget& w) { return w.inherits("QPrintDialog"); }, QStringLiteral("print dialog")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        std::vector<QString> boxes;
        QString found;
        AnswerWindows(boxes, [&](QWidget& w) {
            if (!c.isTheWindow(w))
                return false;
            auto* where = w.findChild<QLineEdit*>(QStringLiteral("WherePage"));
            found = where ? where->text() : QStringLiteral("print dialog");
            return true;
        });
        c.run();
        EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
        EXPECT_EQ(found, c.found);
    }
    TPrintTool::ResetSettings();
}
