// The archive in the windows: files imported as they load, the 履歴 tab of
// the listing on show with its notes, the browser's archive columns, an
// import compared with, and an archive that cannot be opened.
#include "UiTestSupport.h"

#include "ArchiveLink.h"
#include "ChangeTableModel.h"
#include "ChangeView.h"
#include "HistorySheet.h"
#include "ListingBrowser.h"
#include "MainForm.h"
#include "ProgramWindows.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace kovra::testing {
namespace {

class ArchiveViewTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        std::vector<Columns> first, second;
        for (int n = 1; n <= 3; ++n)
            first.push_back(SaleListing(n));
        second = first;
        second[1][6] = "900"; // K-2 drops its price the next day
        day1_ = WriteListingFile(tmp_.path(), QStringLiteral("day1.txt"), first);
        day2_ = WriteListingFile(tmp_.path(), QStringLiteral("day2.txt"), second);
        // The next day's search date in the header.
        QFile f(day2_);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        bytes.replace("160501", "160502");
        f.seek(0);
        f.write(bytes);
    }

    static void Idle(ProgramWindows& w)
    {
        w.Archive->WaitIdle();
        w.Changes->WaitIdle();
        if (w.MainForm->ListingBrowser()->isVisible())
            w.MainForm->ListingBrowser()->WaitIdle();
        w.Archive->WaitIdle();
    }

    QString day1_, day2_;
};

// Guards the 履歴 tab's rows, chart and notes after two daily imports (into
// the user's data folder, made for it), the browser's archive columns, and
// an import picked to compare with.
TEST_F(ArchiveViewTest, HistoryTabColumnsAndComparingWithAnImport)
{
    // The default place, in a data folder that is not there yet.
    ProgramWindows w = CreateProgramWindows(day1_);
    Idle(w);
    w.MainForm->LoadFile(day2_);
    Idle(w);

    auto* tabs = w.MainForm->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    THistorySheet* sheet = w.MainForm->HistorySheet;
    ASSERT_NE(sheet, nullptr);
    tabs->setCurrentWidget(sheet);
    struct Case {
        int number;
        std::vector<std::string> rows;
        bool chart;
    } cases[] = {
        {1, {"2004-05-01 初回掲載", "2004-05-02 最終掲載"}, false},
        {2, {"2004-05-01 初回掲載", "2004-05-02 価格 1002万円 → 900万円", "2004-05-02 最終掲載"}, true},
    };
    for (const Case& c : cases) {
        w.MainForm->ShowListing(c.number);
        Idle(w);
        std::vector<std::string> rows;
        for (int r = 0; r < sheet->LifeTable->rowCount(); ++r)
            rows.push_back((sheet->LifeTable->item(r, 0)->text() + u' ' + sheet->LifeTable->item(r, 1)->text()).toStdString());
        EXPECT_EQ(rows, c.rows) << c.number;
        EXPECT_EQ(!sheet->PriceChart->isHidden(), c.chart) << c.number;
    }
    EXPECT_EQ(sheet->LifeLbl->text(), QStringLiteral("初回掲載 2004-05-01・掲載 1 日・取り込み 2 回"));
    sheet->NoteEdit->setText(QStringLiteral("内見済み"));
    sheet->AddNoteBtn->click();
    Idle(w);
    EXPECT_TRUE(sheet->NotesView->toPlainText().endsWith(QStringLiteral("（株）USER: 内見済み")))
        << sheet->NotesView->toPlainText().toStdString();

    w.MainForm->BrowserMenuClick();
    TListingBrowser* b = w.MainForm->ListingBrowser();
    Idle(w);
    const QAbstractItemModel* m = b->Model();
    EXPECT_EQ(m->index(1, TChangeTableModel::FirstSeen).data().toString(), QStringLiteral("2004-05-01"));
    EXPECT_EQ(m->index(1, TChangeTableModel::DaysOnMarket).data().toInt(), 1);
    EXPECT_EQ(m->index(1, TChangeTableModel::OldPrice).data().toString(), QStringLiteral("1002万円"));
    EXPECT_EQ(m->index(1, TChangeTableModel::Notes).data().toString(), QStringLiteral("内見済み"));
    EXPECT_FALSE(b->ListView->isColumnHidden(TChangeTableModel::FirstSeen));

    // Newest first: the first day's import is the second choice.
    w.MainForm->SetImportChooser([](const QStringList& items) { return items.size() == 2 ? 1 : -1; });
    w.MainForm->CompareImportMenuClick();
    Idle(w);
    EXPECT_EQ(b->ChangeCountLbl->text(), QStringLiteral("値下げ 1"));
}

// Guards that an archive that cannot be opened is said once, and that the
// viewer works on without it.
TEST_F(ArchiveViewTest, AnArchiveThatCannotBeOpenedIsSaidOnce)
{
    const QString broken = WriteRawFile(tmp_.path(), QStringLiteral("broken.sqlite"), std::string(4096, 'x'));
    StoreSetting(QStringLiteral("FArchive"), QStringLiteral("Location"), broken);
    ProgramWindows w = CreateProgramWindows(day1_);
    Idle(w);
    w.MainForm->LoadFile(day2_);
    Idle(w);
    w.MainForm->ShowListing(2);
    w.MainForm->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentWidget(w.MainForm->HistorySheet);
    Idle(w);
    int said = 0;
    for (const ShownMessage& m : messages_)
        said += m.text.startsWith(QStringLiteral("アーカイブ ")) && m.text.contains(QStringLiteral("を開けません ("));
    EXPECT_EQ(said, 1);
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(w.MainForm->TaggedBox(QStringLiteral("EdtSyozaitimei"))->text(), QStringLiteral("東京都千代田区丸の内2丁目"));
    EXPECT_EQ(w.MainForm->HistorySheet->LifeLbl->text(), QStringLiteral("この物件はまだアーカイブにありません"));
}

} // namespace
} // namespace kovra::testing
