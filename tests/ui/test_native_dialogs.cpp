// What Qt adds around the program's windows: every title exactly as the
// program sets it, and Qt's own dialogs and buttons in Japanese.
#include "AboutBox.h"
#include "KvSetDlg.h"
#include "MainForm.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "SeparationForm.h"
#include "UiTestSupport.h"

#include "QtJapanese.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace kovra::testing {
namespace {

// The title the window manager gets: Qt appends the application display
// name to every title that does not already end with it, whenever one was
// set (unset, applicationDisplayName() falls back to applicationName()).
QString ShownTitle(QWidget& w)
{
    const QString set = w.windowHandle() ? w.windowHandle()->title() : w.windowTitle();
    const QString display = QGuiApplication::applicationDisplayName();
    if (display == QCoreApplication::applicationName() || set.endsWith(display))
        return set;
    return set + QStringLiteral(" \u2014 ") + display;
}

class NativeDialogsTest : public UiTest {};

// Guards the titles: nothing appended by the platform, each as designed.
TEST_F(NativeDialogsTest, WindowTitlesAreExact)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("sample.txt"), {SaleListing(1)});
    ProgramWindows w = CreateProgramWindows(file);
    // The preview belongs to the engine library (with its own prompter):
    // found among the windows once its loop runs.
    QString previewTitle;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && QString::fromLatin1(top->metaObject()->className()).endsWith("TImageDispForm")) {
                previewTitle = ShownTitle(*top);
                top->close();
            }
    });
    poll.start(20);
    RunReport(w.MainForm.get(), false, false, {[] { return 1; }});
    poll.stop();

    const struct {
        QWidget* window;
        const char* title;
    } cases[] = {
        {w.MainForm.get(), "Kovra Viewer  sample.txt"},
        {w.KvSetDlg, "ダイアログ"},
        {w.AboutBox, "Kovra Viewer バージョン情報"},
        {w.SeparationForm, "KovraViewer 子ウインドウ"},
        {w.ReportSupDlg, "KovraViewerレポート"},
    };
    for (const auto& c : cases) {
        c.window->show();
        EXPECT_EQ(c.window->windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(ShownTitle(*c.window), QString::fromUtf8(c.title));
        c.window->hide();
    }
    EXPECT_EQ(previewTitle, QStringLiteral("KovraViewer Report"));
}

// Guards Qt's own texts: the standard buttons read Japanese whatever the
// system's language (ctest runs this once more under LANG=C).
TEST_F(NativeDialogsTest, StandardButtonsSpeakJapanese)
{
    ASSERT_FALSE(InstallQtJapanese().isEmpty()) << "qtbase_ja.qm not found (qt6-translations-l10n)";
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } cases[] = {
        {QMessageBox::Yes, "はい(&Y)"},
        {QMessageBox::No, "いいえ(&N)"},
        {QMessageBox::Cancel, "キャンセル"},
        {QMessageBox::Open, "開く"},
        {QMessageBox::Save, "保存"},
    };
    QMessageBox box;
    QDialogButtonBox buttons;
    for (const auto& c : cases) {
        box.setStandardButtons(c.button);
        EXPECT_EQ(box.button(c.button)->text(), QString::fromUtf8(c.text));
        buttons.setStandardButtons(QDialogButtonBox::StandardButton(int(c.button)));
        EXPECT_EQ(buttons.button(QDialogButtonBox::StandardButton(int(c.button)))->text(), QString::fromUtf8(c.text));
    }
}

} // namespace
} // namespace kovra::testing
