// A picture of the main window with a listing on show, for the eye: written
// to the build folder as main_window.png (and one per tab).
#include "UiTestSupport.h"

#include "AboutBox.h"
#include "KvSetDlg.h"
#include "ListingBrowser.h"
#include "MainForm.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "SeparationForm.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QPixmap>
#include <QTabWidget>

using namespace kovra;
using namespace kovra::testing;

class ScreenshotTest : public UiTest {};

// Guards: the window must lay out and paint a listing without failing (the
// pictures themselves are looked at by a person).
TEST_F(ScreenshotTest, MainWindowWithSampleListing)
{
    QString file = QStringLiteral(KOVRA_SOURCE_DIR "/data/samples/sample.txt");
    if (!QFile::exists(file)) {
        Columns c = SaleListing(7);
        c[34] = "1503";
        c[36] = "1";
        c[53] = "3";
        c[54] = "1";
        file = WriteListingFile(tmp_.path(), QStringLiteral("sample.txt"), {c, SaleListing(8)});
    }
    TMainForm form(settings_, document_, file);
    form.show();
    ASSERT_GT(document_.Document()->ListingCount, 0);
    const QString dir = QStringLiteral(KOVRA_BUILD_DIR);
    EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/main_window.png")));
    auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = 1; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        EXPECT_TRUE(form.grab().save(dir + QStringLiteral("/main_window_tab%1.png").arg(i + 1)));
    }
    tabs->setCurrentIndex(0);

    TAboutBox* about = form.AboutBox();
    about->show();
    EXPECT_TRUE(about->grab().save(dir + QStringLiteral("/about_box.png")));
    about->hide();
    TKvSetDlg* dlg = form.KvSetDlg();
    dlg->show();
    EXPECT_TRUE(dlg->grab().save(dir + QStringLiteral("/settings_dialog.png")));
    dlg->hide();
    TSeparationForm* sep = form.SeparationForm();
    form.ChildMenuClick();
    EXPECT_TRUE(sep->DropField(form.TaggedBox(QStringLiteral("EdtSyozaitimei"))));
    EXPECT_TRUE(sep->grab().save(dir + QStringLiteral("/detached_window.png")));
    EXPECT_TRUE(messages_.empty());
}

// Guards: the listing browser lays out and paints all listings, a search and
// a sort; the report dialog shows its third choice.
TEST_F(ScreenshotTest, ListingBrowserWithSampleListings)
{
    QString file = QStringLiteral(KOVRA_SOURCE_DIR "/data/samples/sample.txt");
    if (!QFile::exists(file))
        file = WriteListingFile(tmp_.path(), QStringLiteral("sample.txt"), {SaleListing(1), SaleListing(2)});
    ProgramWindows w = CreateProgramWindows(file);
    w.MainForm->show();
    w.MainForm->BrowserMenuClick();
    TListingBrowser* b = w.MainForm->ListingBrowser();
    b->WaitIdle();
    const QString dir = QStringLiteral(KOVRA_BUILD_DIR);
    EXPECT_TRUE(b->grab().save(dir + QStringLiteral("/browser_all.png")));
    b->SearchEdit->setText(QStringLiteral("マンション"));
    b->WaitIdle();
    EXPECT_TRUE(b->grab().save(dir + QStringLiteral("/browser_search.png")));
    b->ListViewHeaderClick(static_cast<int>(Field::Kakaku));
    b->ListViewHeaderClick(static_cast<int>(Field::Kakaku));
    b->WaitIdle();
    b->ListView->selectRow(0);
    EXPECT_TRUE(b->grab().save(dir + QStringLiteral("/browser_sort.png")));
    TReportSupDlg* dlg = w.ReportSupDlg;
    dlg->show();
    EXPECT_TRUE(dlg->grab().save(dir + QStringLiteral("/report_dialog_found.png")));
    dlg->hide();
    EXPECT_TRUE(messages_.empty());
}
