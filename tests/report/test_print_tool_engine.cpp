// TPrintTool's hand-over to the shared print engine library, with the
// engine's windows answered from a timer as a user would.
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

using kovra::TPrintTool;

namespace {

void WriteBytes(const QString& path, const char* bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// Guards the viewer converting its paths to Shift-JIS for the engine: a
// folder named in Korean, or "josé", has no Shift-JIS spelling, so the
// report was "not found".  The preview shows the job's two pages; printing
// reaches the print dialog (cancelled: nothing is printed).
TEST(PrintToolEngine, PathsWithoutAShiftJisSpellingReachTheEngine)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "report_engine_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir base;
    const QString folder = base.filePath(QStringLiteral("보고서 josé"));
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteBytes(folder + QStringLiteral("/KvReport.FOM"), "B0;0;1000;1000;\r\n");
    WriteBytes(folder + QStringLiteral("/KvReport.tmp"), "T100;100;A;;;;;;\r\nE\r\nT100;100;B;;;;;;\r\n");
    TPrintTool tool;
    tool.SetFormatFileName((folder + QStringLiteral("/KvReport.FOM")).toStdString());
    tool.SetDataFileName((folder + QStringLiteral("/KvReport.tmp")).toStdString());
    tool.SetPaperCode(9);
    tool.SetShowPrintDialog(true); // never prints on a real printer

    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { tool.Preview(); }, QStringLiteral("preview 1/2")},
        {[&] { EXPECT_FALSE(tool.Print()); }, QStringLiteral("print dialog")},
    };
    for (const auto& [run, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        std::vector<QString> boxes;
        QString seen;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                boxes.push_back(box->text());
                box->done(QMessageBox::Ok);
            } else if (w && w->objectName() == QLatin1String("TImageDispForm")) {
                seen = QStringLiteral("preview ") + w->findChild<QLineEdit*>(QStringLiteral("WherePage"))->text();
                qobject_cast<QDialog*>(w)->reject();
            } else if (w && w->objectName() == QLatin1String("TStartPrintDlg")) {
                seen = QStringLiteral("print dialog");
                qobject_cast<QDialog*>(w)->reject();
            }
        });
        timer.start(10);
        run();
        EXPECT_TRUE(boxes.empty()) << boxes.front().toStdString();
        EXPECT_EQ(seen, expected);
    }
    TPrintTool::ResetSettings();
}
