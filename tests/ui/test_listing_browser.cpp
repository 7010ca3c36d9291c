// The listing browser: searching, the count, the link to the main window
// both ways, its columns kept in the settings, loads, and the export and
// report of the listings found.
#include "UiTestSupport.h"

#include "HtmlExportRun.h"
#include "HtmlSetupDlg.h"
#include "ListingBrowser.h"
#include "ListingTableModel.h"
#include "MessageTexts.h"
#include "MainForm.h"
#include "ShippedFiles.h"
#include "PdfPages.h"
#include "PrintTool.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "UserSettings.h"

#include "Printout.h"
#include "lumprn.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace kovra::testing {
namespace {

class ListingBrowserTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        std::vector<Columns> listings;
        for (int n = 1; n <= 10; ++n)
            listings.push_back(SaleListing(n));
        file_ = WriteListingFile(tmp_.path(), QStringLiteral("ten.txt"), listings);
    }

    TListingBrowser* Open(TMainForm& main)
    {
        main.BrowserMenuClick();
        TListingBrowser* b = main.ListingBrowser();
        b->WaitIdle();
        return b;
    }

    static int SelectedListing(TListingBrowser* b)
    {
        const QModelIndexList rows = b->ListView->selectionModel()->selectedRows();
        return rows.size() == 1 ? b->Model()->ListingAt(rows[0].row()) + 1 : 0;
    }

    QString file_;
};

// Guards the search as typed with the quick filters and the header sort:
// the count label, the rows' order, and the first row shown in the main
// window when chosen.
TEST_F(ListingBrowserTest, SearchCountSortAndChosenRow)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    EXPECT_EQ(b->CountLbl->text(), QStringLiteral("10 件 / 全 10 件"));
    EXPECT_EQ(b->windowTitle(), QStringLiteral("物件一覧"));

    struct Case {
        const char* text;
        int priceMin; // 万円
        int headerClicks; // on the price column
        const char* count;
        int firstListing;
    };
    const Case cases[] = {
        {"丸の内1", 0, 0, "2 件 / 全 10 件", 1},
        {"丸の内1", 1005, 0, "1 件 / 全 10 件", 10}, // K-1 costs 1,001万円
        {"BukkennNum=K-3", 0, 0, "1 件 / 全 10 件", 3},
        {"丸の内", 0, 1, "10 件 / 全 10 件", 1},
        {"丸の内", 0, 1, "10 件 / 全 10 件", 10}, // a second click turns the order round
        {"どこにもない", 0, 0, "0 件 / 全 10 件", 0},
        {"丸の内 値段＝3", 0, 0, "「値段」という項目はありません", 0}, // not 0 件
    };
    const int price = static_cast<int>(Field::Kakaku);
    for (const Case& c : cases) {
        b->SpinPriceMin->setValue(c.priceMin);
        for (int i = 0; i < c.headerClicks; ++i)
            b->ListView->horizontalHeader()->sectionClicked(price);
        b->SearchEdit->setText(QString::fromUtf8(c.text));
        b->WaitIdle();
        EXPECT_EQ(b->CountLbl->text().toStdString(), c.count) << c.text;
        if (c.firstListing == 0)
            continue;
        b->ListView->selectRow(0);
        EXPECT_EQ(w.MainForm->ShownListingNumber(), c.firstListing) << c.text;
        EXPECT_EQ(w.MainForm->TaggedBox(QStringLiteral("EdtSyozaitimei"))->text(),
                  QStringLiteral("東京都千代田区丸の内%1丁目").arg(c.firstListing))
            << c.text;
    }
}

// Guards the other direction: a step in the main window selects that
// listing's row, or nothing when the search did not find it.
TEST_F(ListingBrowserTest, SteppingInTheMainWindowMovesTheSelection)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    struct Case {
        const char* search;
        void (TMainForm::*step)();
        int shown, selected;
    };
    const Case cases[] = {
        {"", &TMainForm::NextDataViewBtnClick, 2, 2},
        {"", &TMainForm::ViewLastDataBtnClick, 10, 10},
        {"丸の内1", &TMainForm::BackDataViewBtnClick, 9, 0},
        {"丸の内1", &TMainForm::TopDataViewBtnClick, 1, 1},
    };
    for (const Case& c : cases) {
        b->SearchEdit->setText(QString::fromUtf8(c.search));
        b->WaitIdle();
        (w.MainForm.get()->*c.step)();
        EXPECT_EQ(w.MainForm->ShownListingNumber(), c.shown) << c.search;
        EXPECT_EQ(SelectedListing(b), c.selected) << c.search;
    }
}

// Guards a click on a row after the main window stepped to a listing the
// search did not find: the row that was chosen before shows its listing
// again (the click used to do nothing, the row still being the current one).
TEST_F(ListingBrowserTest, ClickOnARowAfterAStepAwayShowsItsListing)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    b->SearchEdit->setText(QStringLiteral("丸の内1")); // rows: listings 1 and 10
    b->WaitIdle();
    struct Case {
        void (TMainForm::*step)();
        int clickedRow, shown;
    };
    const Case cases[] = {
        {&TMainForm::NextDataViewBtnClick, 0, 1}, // 1 -> 2, not found
        {&TMainForm::ViewLastDataBtnClick, 1, 10},
        {&TMainForm::BackDataViewBtnClick, 1, 10}, // 10 -> 9, not found
    };
    for (const Case& c : cases) {
        (w.MainForm.get()->*c.step)();
        const QModelIndex cell = b->Model()->index(c.clickedRow, b->ListView->horizontalHeader()->logicalIndex(0));
        QTest::mouseClick(b->ListView->viewport(), Qt::LeftButton, {}, b->ListView->visualRect(cell).center());
        EXPECT_EQ(w.MainForm->ShownListingNumber(), c.shown) << c.clickedRow;
        EXPECT_EQ(SelectedListing(b), c.shown) << c.clickedRow;
    }
}

// Guards the columns: the user's choice, order and widths come back in the
// next run; a user who never opened the browser leaves no trace of it.
TEST_F(ListingBrowserTest, ColumnsPersistInTheSettings)
{
    const int remark = static_cast<int>(Field::Bikou), price = static_cast<int>(Field::Kakaku);
    {
        ProgramWindows w = CreateProgramWindows(file_);
    }
    EXPECT_FALSE(QSettings(SettingsFile(), QSettings::IniFormat).childGroups().contains(QStringLiteral("FBrowser")));
    {
        ProgramWindows w = CreateProgramWindows(file_);
        TListingBrowser* b = Open(*w.MainForm);
        EXPECT_TRUE(b->ColumnShown(price));
        EXPECT_FALSE(b->ColumnShown(remark));
        b->SetColumnChosen(remark, true);
        b->SetColumnChosen(price, false);
        QHeaderView* h = b->ListView->horizontalHeader();
        h->moveSection(h->visualIndex(remark), 0);
        h->resizeSection(remark, 333);
    }
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    QHeaderView* h = b->ListView->horizontalHeader();
    EXPECT_TRUE(b->ColumnShown(remark));
    EXPECT_FALSE(b->ColumnShown(price));
    EXPECT_EQ(h->logicalIndex(0), remark);
    EXPECT_EQ(h->sectionSize(remark), 333);
}

// Guards the header staying reachable: its menu is the only way to choose
// columns, and a header without a shown column has no height.  Unticking
// every column, or hiding the member columns when they were the only
// ones, keeps the listing number's column.
TEST_F(ListingBrowserTest, OneColumnAlwaysShows)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    const int number = static_cast<int>(Field::BukkennNum), member = static_cast<int>(Field::KaiinMei);
    struct Case {
        const char* what;
        int onlyChosen; // -1: none
        bool members;
    };
    for (const Case& c : {Case{"none chosen", -1, true}, Case{"only a member column, members hidden", member, false}}) {
        w.Settings->MemberViewOk = true;
        b->ApplyMemberVisibility();
        for (int f = 0; f < kFieldCount; ++f)
            b->SetColumnChosen(f, f == c.onlyChosen);
        w.Settings->MemberViewOk = c.members;
        b->ApplyMemberVisibility();
        EXPECT_TRUE(b->ColumnShown(number)) << c.what;
        EXPECT_GT(b->ListView->horizontalHeader()->sizeHint().height(), 0) << c.what;
    }
}

// Guards loads: a new file refreshes the rows (the search kept), a failed
// load empties the browser.
TEST_F(ListingBrowserTest, LoadsRefreshAndAFailedLoadEmpties)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    b->SearchEdit->setText(QStringLiteral("丸の内1"));
    b->WaitIdle();
    struct Case {
        QString file;
        const char* count;
    };
    std::vector<Columns> three{SaleListing(1), SaleListing(2), SaleListing(12)};
    const Case cases[] = {
        {WriteListingFile(tmp_.path(), QStringLiteral("three.txt"), three), "2 件 / 全 3 件"},
        {WriteRawFile(tmp_.path(), QStringLiteral("none.txt"), "header only\r\n"), "0 件 / 全 0 件"},
    };
    for (const Case& c : cases) {
        w.MainForm->LoadFile(c.file);
        b->WaitIdle();
        EXPECT_EQ(b->CountLbl->text().toStdString(), c.count);
    }
}

// Guards the export: only the listings found, in the table's order, under
// the caption row; and the message names the count.
TEST_F(ListingBrowserTest, ExportWritesTheListingsFound)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    b->SearchEdit->setText(QStringLiteral("丸の内1"));
    b->ListView->horizontalHeader()->sectionClicked(static_cast<int>(Field::Kakaku));
    b->ListView->horizontalHeader()->sectionClicked(static_cast<int>(Field::Kakaku));
    b->WaitIdle();
    const QString csv = Path(QStringLiteral("found.csv"));
    b->SetExportFileChooser([csv] { return csv; });
    b->ExportBtn->click();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains(QStringLiteral("K-10")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("K-1,")));
    ASSERT_FALSE(messages_.empty());
    EXPECT_TRUE(messages_.back().text.startsWith(QStringLiteral("2 件の物件を "))) << messages_.back().text.toStdString();
}

// Guards the member display off meaning off: a member text (the member's
// name, its e-mail) is neither shown nor found nor exported, and turning
// the display on again while the browser is open brings all three back.
TEST_F(ListingBrowserTest, MemberDisplayOffHidesSearchesAndExportsNoMemberText)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    const QString csv = Path(QStringLiteral("members.csv"));
    b->SetExportFileChooser([csv] { return csv; });
    struct Case {
        bool members;
        const char* search;
        const char* count;
    };
    const Case cases[] = {
        {true, "コヴラ", "10 件 / 全 10 件"}, {false, "コヴラ", "0 件 / 全 10 件"},
        {false, "丸の内", "10 件 / 全 10 件"}, {true, "会員名=不動産1", "2 件 / 全 10 件"},
        {false, "会員名=不動産1", "0 件 / 全 10 件"}, {false, "agent", "0 件 / 全 10 件"},
    };
    for (const Case& c : cases) {
        w.Settings->MemberViewOk = c.members;
        w.MainForm->ApplyMemberVisibility();
        b->SearchEdit->setText(QString::fromUtf8(c.search));
        b->WaitIdle();
        EXPECT_EQ(b->CountLbl->text().toStdString(), c.count) << c.search << " members " << c.members;
        b->SetColumnChosen(static_cast<int>(Field::KaiinMei), true);
        EXPECT_EQ(b->ColumnShown(static_cast<int>(Field::KaiinMei)), c.members) << c.search;
        b->SetColumnChosen(static_cast<int>(Field::KaiinMei), false);
        // The export writes what the search saw.
        b->SearchEdit->setText(QStringLiteral("丸の内1"));
        b->WaitIdle();
        QFile::remove(csv);
        b->ExportBtn->click();
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.search;
        const QString text = QString::fromUtf8(f.readAll());
        EXPECT_EQ(text.contains(QStringLiteral("コヴラ不動産10")), c.members) << c.search;
        EXPECT_EQ(text.contains(QStringLiteral("agent1@example.com")), c.members) << c.search;
        EXPECT_TRUE(text.contains(QStringLiteral("丸の内10丁目"))) << c.search;
    }
}

// Guards the export file: the export never replaces it; the dialog comes
// back for another name.
TEST_F(ListingBrowserTest, ExportNeverOntoTheExportFile)
{
    ProgramWindows w = CreateProgramWindows(file_);
    TListingBrowser* b = Open(*w.MainForm);
    b->WaitIdle();
    QFile before(file_);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    int asked = 0;
    b->SetExportFileChooser([&] { return asked++ == 0 ? file_ : QString(); });
    b->ExportBtn->click();
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text.toStdString(), msg::OutputIsInput(file_.toStdString()));
    QFile after(file_);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

// Guards the report's third choice: only the listings found reach the PDF,
// and the choice is offered only while the browser is open.
TEST_F(ListingBrowserTest, ReportOfTheListingsFound)
{
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(tmp_.path()); // the report's data file goes to the current folder
    const QString pdf = Path(QStringLiteral("found.pdf"));
    QPrinter& printer = dorvex::ThePrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setFullPage(true);
    printer.setResolution(150);
    const ReportEngine engine{[] {
                                  const PrintToolSettings& s = TPrintTool::Settings();
                                  return dorvex::ScalPrintUtf8(s.formatFileName, s.dataFileName, s.printingMessage,
                                                               s.paperCode, s.orientation, s.topMargin, s.leftMargin,
                                                               s.printForm != 0, false) != 0;
                              },
                              {}};
    ProgramWindows w = CreateProgramWindows(file_, engine);
    TReportSupDlg* dlg = w.ReportSupDlg;
    bool offeredClosed = true;
    QTimer::singleShot(0, dlg, [&] {
        offeredClosed = dlg->RadioFound->isEnabled();
        dlg->CancelBtn->click();
    });
    w.MainForm->PrintMenuClick();
    EXPECT_FALSE(offeredClosed);

    TListingBrowser* b = Open(*w.MainForm);
    b->SearchEdit->setText(QStringLiteral("丸の内1"));
    b->WaitIdle();
    QString caption;
    QTimer::singleShot(0, dlg, [&] {
        caption = dlg->RadioFound->text();
        EXPECT_EQ(dlg->RadioPrnSetupIndex(), 2) << "the browser's print command picks the found listings";
        dlg->OKBtn->click();
    });
    b->PrintBtn->click();
    EXPECT_EQ(caption, QStringLiteral("物件一覧で見つかった物件を印刷する（2 件）"));
    EXPECT_EQ(PdfPageCount(pdf), 2);
    QDir::setCurrent(previousDir);
}

// Guards two files held at once: the browser over one and the HTML export
// of the other.  A load into the first while the export runs reaches the
// browser and leaves the export alone; the second refuses loads until its
// run has ended; the pages are the second file's.
TEST_F(ListingBrowserTest, TwoDocumentsAtOnceDisturbNeitherOther)
{
    TOpenDocument other;
    document_.Load(file_, nullptr);
    other.Load(WriteListingFile(tmp_.path(), QStringLiteral("three.txt"), {SaleListing(21), SaleListing(22), SaleListing(23)}),
               nullptr);
    TListingBrowser browser(document_, settings_);
    browser.show();
    browser.WaitIdle();

    WriteRawFile(tmp_.path(), QStringLiteral("FieldList"), "/*BukkennNum*/\r\n");
    services::SetProgramFolder(tmp_.path().toStdString());
    const QString out = Path(QStringLiteral("out"));
    QDir().mkpath(out);
    const QString templ = WriteRawFile(tmp_.path(), QStringLiteral("t.html"), "<p>/*BukkennNum*/</p>\r\n");
    prompter_->windowShown = [&](QWidget& window) {
        auto* dlg = qobject_cast<THtmlSetupDlg*>(&window);
        ASSERT_NE(dlg, nullptr);
        dlg->SaveDirEdt->setText(out);
        dlg->TemptateEdt->setText(templ);
        dlg->accept();
    };
    QWidget mainWindow;
    HtmlExportController exportOther(&mainWindow, other.Slot(), settings_, [](const QString&) { return QString(); });
    const DocumentPtr exported = other.Document();
    QString countDuringRun;
    LoadOutcome otherLoadDuringRun;
    // The end message is up while the export still holds its document.
    prompter_->answer = [&](const Question& q) {
        if (q.text != "処理が終了しました")
            return Answer::Ok;
        document_.Load(WriteListingFile(tmp_.path(), QStringLiteral("two.txt"), {SaleListing(1), SaleListing(2)}),
                       nullptr);
        browser.WaitIdle();
        countDuringRun = browser.CountLbl->text();
        otherLoadDuringRun = other.Load(file_, nullptr);
        return Answer::Ok;
    };
    exportOther.HtmlMenuClick();
    QDeadlineTimer deadline(20000);
    while (exportOther.Running() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    EXPECT_EQ(countDuringRun, QStringLiteral("2 件 / 全 2 件"));
    EXPECT_EQ(otherLoadDuringRun.status, LoadOutcome::Status::InUse);
    EXPECT_EQ(other.Document(), exported);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{QStringLiteral("K-21.html"), QStringLiteral("K-22.html"),
                                                            QStringLiteral("K-23.html")}));
    EXPECT_EQ(document_.Document()->ListingCount, 2);
    EXPECT_FALSE(other.InUseByRun());
    services::SetProgramFolder(KOVRA_SOURCE_DIR "/data");
}

} // namespace
} // namespace kovra::testing
