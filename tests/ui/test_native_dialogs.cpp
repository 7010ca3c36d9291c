// What Qt adds around the program's windows: every title exactly as the
// program sets it, and Qt's own dialogs and buttons in Japanese.
#include "AboutBox.h"
#include "KvSetDlg.h"
#include "ListingBrowser.h"
#include "MainForm.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "SeparationForm.h"
#include "UiTestSupport.h"

#include "HtmlSetupDlg.h"
#include "QtJapanese.h"
#include "WindowPrompter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QFileDialog>
#include <QTreeView>
#include <QtTest/QTest>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>

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

// Runs `inspect` on the first modal window once `open` shows it, then
// closes that window.
void WhenModal(const std::function<void()>& open, const std::function<void(QWidget&)>& inspect)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* w = QApplication::activeModalWidget(); w && !seen) {
            seen = true;
            inspect(*w);
            w->close();
        }
    });
    poll.start(20);
    open();
    EXPECT_TRUE(seen);
}

QStringList TextsLeftToRight(const QList<QPushButton*>& buttons)
{
    QList<QPushButton*> sorted = buttons;
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList texts;
    for (QPushButton* b : sorted)
        texts << b->text();
    return texts;
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
    RunReport(w.MainForm.get(), false, ReportRange::Shown,
              {w.Document->Slot(), *w.Settings, [] { return 1; }, {}, LibraryReportEngine()});
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

// Guards the file dialogs' filters: the captions as designed, the patterns
// not appended a second time.
TEST_F(NativeDialogsTest, FilterCaptionsAreNotDoubled)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("f.txt"), {SaleListing(1)});
    TMainForm form(settings_, document_, file);
    const struct {
        std::function<void()> command;
        QStringList captions;
    } cases[] = {
        {[&] { form.FileOpenMenuClick(); },
         {QStringLiteral("テキストファイル(*.TXT *.CSV)"), QStringLiteral("会員項目削除ファイル(*.kvd)"),
          QStringLiteral("HTMLファイル"), QStringLiteral("すべてのファイル")}},
        {[&] { form.SaveMemberDelClick(); }, {QStringLiteral("会員項目削除データー(*.kvd)")}},
    };
    for (const auto& c : cases) {
        QStringList shown;
        WhenModal(c.command, [&](QWidget& dlg) {
            auto* combo = dlg.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                shown << combo->itemText(i);
        });
        EXPECT_EQ(shown, c.captions);
    }
}

// Guards the file lists of every file dialog (the main window's, the
// browser's export, the print dialog's 参照 through the prompter): a
// folder's kind and the dates in Japanese, not in the system's language
// (English under LANG=C).
TEST_F(NativeDialogsTest, FileListColumnsAreJapanese)
{
    QDir(tmp_.path()).mkdir(QStringLiteral("sub"));
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("f.txt"), {SaleListing(1)});
    TMainForm form(settings_, document_, file);
    form.OpenDialog()->setDirectory(tmp_.path());
    TListingBrowser* browser = form.ListingBrowser();
    browser->show();
    browser->WaitIdle();
    QCoreApplication::processEvents();
    settings_.Browser.ExportFolder = tmp_.path().toStdString();
    const struct {
        const char* what;
        std::function<void()> open;
    } cases[] = {
        {"open", [&] { form.FileOpenMenuClick(); }},
        {"export", [&] { browser->ExportBtnClick(); }},
        {"print to PDF", [&] {
             WindowPrompter().AskFile({FileQuestion::Kind::Save, Path(QStringLiteral("a.pdf")).toStdString(),
                                       "PDF ファイル (*.pdf)", nullptr});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList kind, modified;
        WhenModal(c.open, [&](QWidget& dlg) {
            auto* list = dlg.findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(list, nullptr);
            const QAbstractItemModel* m = list->model();
            ASSERT_TRUE(QTest::qWaitFor([&] { return m->rowCount(list->rootIndex()) > 0; }, 5000));
            const QModelIndex row = m->index(0, 0, list->rootIndex());
            kind << m->index(0, 2, list->rootIndex()).data().toString();
            modified << m->index(0, 3, list->rootIndex()).data().toString();
            EXPECT_EQ(row.data().toString(), QStringLiteral("sub"));
        });
        EXPECT_EQ(kind, QStringList{QStringLiteral("フォルダー")});
        ASSERT_EQ(modified.size(), 1);
        EXPECT_TRUE(modified[0].startsWith(QString::number(QDate::currentDate().year()) + u'/'))
            << modified[0].toStdString();
    }
}

// Guards the export's dialog: it proposes a dated name for the format it
// offers first and opens in the folder the last export went to.
TEST_F(NativeDialogsTest, ExportDialogProposesADatedNameInTheLastFolder)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("f.txt"), {SaleListing(1)});
    const QString last = Path(QStringLiteral("last"));
    QDir().mkpath(last);
    TMainForm form(settings_, document_, file);
    TListingBrowser* browser = form.ListingBrowser();
    browser->show();
    browser->WaitIdle();
    QCoreApplication::processEvents();
    browser->SetExportFileChooser([&] { return last + QStringLiteral("/mine.csv"); });
    browser->ExportBtnClick();
    ASSERT_TRUE(QFileInfo::exists(last + QStringLiteral("/mine.csv")));
    EXPECT_EQ(QString::fromStdString(settings_.Browser.ExportFolder), last);

    browser->SetExportFileChooser({});
    QString folder, name;
    WhenModal([&] { browser->ExportBtnClick(); },
              [&](QWidget& dlg) {
                  auto* d = qobject_cast<QFileDialog*>(&dlg);
                  ASSERT_NE(d, nullptr);
                  folder = d->directory().absolutePath();
                  name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
              });
    EXPECT_EQ(folder, last);
#ifdef KOVRA_XLSX_EXPORT
    const bool xlsx = true;
#else
    const bool xlsx = false;
#endif
    EXPECT_EQ(name, ProposedExportName(QDate::currentDate(), xlsx));
    EXPECT_EQ(ProposedExportName(QDate(2026, 1, 9), true), QStringLiteral("物件一覧_20260109.xlsx"));
    EXPECT_EQ(ProposedExportName(QDate(2026, 1, 9), false), QStringLiteral("物件一覧_20260109.csv"));
}

// Guards the order of the message boxes' own buttons, left to right.
TEST_F(NativeDialogsTest, QuestionButtonsStandInDesignedOrder)
{
    prompter_.reset(); // the real windows
    const struct {
        Choices choices;
        QStringList texts;
    } cases[] = {
        {Choices::YesCancelYesToAll,
         {QStringLiteral("はい(&Y)"), QStringLiteral("キャンセル"), QStringLiteral("すべてはい(&A)")}},
        {Choices::Ok, {QStringLiteral("OK")}},
    };
    for (const auto& c : cases) {
        QStringList shown;
        QString caption;
        WhenModal([&] { WindowPrompter().Ask({Tone::Warning, "x", c.choices, "", nullptr}); },
                  [&](QWidget& box) {
                      caption = box.windowTitle();
                      shown = TextsLeftToRight(box.findChildren<QPushButton*>());
                  });
        EXPECT_EQ(shown, c.texts);
        EXPECT_EQ(caption, QStringLiteral("Kovra Viewer"));
    }
}

// Guards the report dialog: every button shows its whole text.
TEST_F(NativeDialogsTest, ReportButtonsFitTheirTexts)
{
    ProgramWindows w = CreateProgramWindows(QString());
    w.ReportSupDlg->show();
    for (QPushButton* b : {w.ReportSupDlg->OKBtn, w.ReportSupDlg->PreBtn, w.ReportSupDlg->CancelBtn})
        EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();
}

// Guards the folder picker: it opens with its start folder in view, also
// far down a long listing.
TEST_F(NativeDialogsTest, FolderPickerOpensAtItsStartFolder)
{
    QDir dir(tmp_.path());
    for (int i = 0; i < 150; ++i)
        dir.mkdir(QStringLiteral("d%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString start = dir.filePath(QStringLiteral("d140"));
    bool inView = false;
    WhenModal([&] { PickFolderDialog(nullptr, start); },
              [&](QWidget& dlg) {
                  auto* tree = dlg.findChild<QTreeView*>();
                  // Once the folder's neighbours have all come in (the listing
                  // is read in the background), it must still be in view.
                  ASSERT_TRUE(QTest::qWaitFor(
                      [&] { return tree->model()->rowCount(tree->currentIndex().parent()) == 150; }, 5000));
                  QTest::qWait(100);
                  const QModelIndex at = tree->currentIndex();
                  EXPECT_EQ(at.data().toString(), QStringLiteral("d140"));
                  inView = tree->viewport()->rect().contains(tree->visualRect(at));
              });
    EXPECT_TRUE(inView);
}

} // namespace
} // namespace kovra::testing
