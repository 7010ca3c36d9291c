// The change view in the windows: an older file picked beside the one on
// show, the browser's quick filter and columns, the main window's price
// line and changed boxes.
#include "UiTestSupport.h"

#include "ChangeTableModel.h"
#include "ChangeView.h"
#include "ListingBrowser.h"
#include "MainForm.h"
#include "ProgramWindows.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace kovra::testing {
namespace {

class ChangeViewTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        // K-1 stays, K-2 drops its price, K-3 raises it, K-4 is sold, K-5
        // goes, K-6 comes; K-7 changes its remark only.
        std::vector<Columns> older, newer;
        for (int n = 1; n <= 5; ++n)
            older.push_back(SaleListing(n));
        older.push_back(SaleListing(7));
        Columns k2 = SaleListing(2), k3 = SaleListing(3), k4 = SaleListing(4), k7 = SaleListing(7);
        k2[6] = "900";
        k3[6] = "1100";
        k4[3] = "2";
        k7[45] = "角地";
        newer = {SaleListing(1), k2, k3, k4, SaleListing(6), k7};
        older_ = WriteListingFile(tmp_.path(), QStringLiteral("older.txt"), older);
        newer_ = WriteListingFile(tmp_.path(), QStringLiteral("newer.txt"), newer);
    }

    // The listing numbers of the browser's rows, in order.
    static std::vector<std::string> Numbers(TListingBrowser& b)
    {
        std::vector<std::string> numbers;
        const int column = static_cast<int>(Field::BukkennNum);
        for (int r = 0; r < b.Model()->rowCount(); ++r)
            numbers.push_back(b.Model()->index(r, column).data().toString().toStdString());
        return numbers;
    }

    QString older_, newer_;
};

// Guards the quick filter's rows (gone listings from the older file), the
// counts, the 変更 and price columns, and what the export takes.
TEST_F(ChangeViewTest, QuickFilterRowsCountsAndColumns)
{
    ProgramWindows w = CreateProgramWindows(newer_);
    w.MainForm->SetCompareFileChooser([this] { return older_; });
    w.MainForm->BrowserMenuClick();
    TListingBrowser* b = w.MainForm->ListingBrowser();
    b->WaitIdle();
    EXPECT_FALSE(b->CmbChange->isEnabled());
    b->CompareBtn->click();
    w.Changes->WaitIdle();
    b->WaitIdle();
    EXPECT_EQ(b->ChangeCountLbl->text(), QStringLiteral("新規 1・値下げ 1・値上げ 1・成約 1・消滅 1"));

    struct Case {
        const char* filter;
        std::vector<std::string> rows;
        const char* kinds;      // 変更 of the first row
        const char* difference; // 価格差 of the first row
        std::size_t exported;
    } cases[] = {
        {"すべて", {"K-1", "K-2", "K-3", "K-4", "K-6", "K-7"}, "", "", 6},
        {"新規", {"K-6"}, "新規", "", 1},
        {"値下げ", {"K-2"}, "価格変更", "−102万円", 1},
        {"値上げ", {"K-3"}, "価格変更", "+97万円", 1},
        {"成約", {"K-4"}, "状態変更", "", 1},
        {"消滅", {"K-5"}, "消滅", "", 0}, // listed from the older file, never exported
        {"変更あり", {"K-2", "K-3", "K-4", "K-7"}, "価格変更", "−102万円", 4},
    };
    auto* model = static_cast<TChangeTableModel*>(b->Model());
    for (const Case& c : cases) {
        b->CmbChange->setCurrentText(QString::fromUtf8(c.filter));
        b->WaitIdle();
        EXPECT_EQ(Numbers(*b), c.rows) << c.filter;
        EXPECT_EQ(model->index(0, TChangeTableModel::Kinds).data().toString().toStdString(), c.kinds) << c.filter;
        EXPECT_EQ(model->index(0, TChangeTableModel::PriceDifference).data().toString().toStdString(), c.difference)
            << c.filter;
        EXPECT_EQ(b->Found().value_or(std::vector<int>{}).size(), c.exported) << c.filter;
    }
    EXPECT_FALSE(b->ListView->isColumnHidden(TChangeTableModel::Kinds));

    // Another file on show is compared with the same older file.
    w.MainForm->LoadFile(older_);
    w.Changes->WaitIdle();
    b->WaitIdle();
    EXPECT_EQ(b->ChangeCountLbl->text(), QStringLiteral("前回からの変更はありません"));
}

// Guards the main window's price line and its changed boxes, listing by
// listing, and that they go when the comparison ends.
TEST_F(ChangeViewTest, PriceLineAndChangedBoxesOfTheListingOnShow)
{
    ProgramWindows w = CreateProgramWindows(newer_);
    EXPECT_TRUE(w.MainForm->PriceLineLbl->isHidden());
    w.MainForm->SetCompareFileChooser([this] { return older_; });
    w.MainForm->CompareMenuClick();
    w.Changes->WaitIdle();

    struct Case {
        int number;
        const char* line;
        const char* changedBox; // shown changed, with the older text as its hint
        const char* hint;
    } cases[] = {
        {1, "前回から変更なし", nullptr, nullptr},
        {2, "前回 1002万円 → 900万円 (−102万円, −10.2%)", "EdtKakaku", "前回: 1002万円"},
        {4, "前回と同じ価格 1004万円", "EdtDataSyubetu", "前回: 売物件"},
        {5, "新規 (前回のファイルにはありません)", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        w.MainForm->ShowListing(c.number);
        EXPECT_EQ(w.MainForm->PriceLineLbl->text().toStdString(), c.line) << c.number;
        for (const char* name : {"EdtKakaku", "EdtDataSyubetu"}) {
            QLineEdit* box = w.MainForm->TaggedBox(QString::fromLatin1(name));
            if (!box)
                box = w.MainForm->findChild<QLineEdit*>(QString::fromLatin1(name));
            ASSERT_NE(box, nullptr) << name;
            const bool changed = c.changedBox && std::string_view(name) == c.changedBox;
            EXPECT_EQ(!box->styleSheet().isEmpty(), changed) << c.number << name;
            if (changed) {
                EXPECT_EQ(box->toolTip().toStdString(), c.hint);
            }
        }
    }
    auto* end = w.MainForm->findChild<QAction*>(QStringLiteral("EndCompareMenu"));
    ASSERT_TRUE(end && end->isEnabled());
    end->trigger();
    EXPECT_FALSE(end->isEnabled());
    EXPECT_TRUE(w.MainForm->PriceLineLbl->isHidden());
    EXPECT_TRUE(w.MainForm->findChild<QLineEdit*>(QStringLiteral("EdtKakaku"))->styleSheet().isEmpty());
}

// Guards that the search box narrows the gone listings too (they are only in
// the older file), and that the browser's 比較を終了 ends the comparison.
TEST_F(ChangeViewTest, GoneListingsFollowTheSearchBox)
{
    std::vector<Columns> older;
    for (int n = 1; n <= 4; ++n)
        older.push_back(SaleListing(n));
    const QString before = WriteListingFile(tmp_.path(), QStringLiteral("four.txt"), older);
    ProgramWindows w = CreateProgramWindows(WriteListingFile(tmp_.path(), QStringLiteral("one.txt"), {SaleListing(1)}));
    w.MainForm->SetCompareFileChooser([&] { return before; });
    w.MainForm->BrowserMenuClick();
    TListingBrowser* b = w.MainForm->ListingBrowser();
    b->WaitIdle();
    b->CompareBtn->click();
    w.Changes->WaitIdle();
    b->WaitIdle();
    b->CmbChange->setCurrentText(QStringLiteral("消滅"));
    b->WaitIdle();

    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"", {"K-2", "K-3", "K-4"}},
        {"丸の内3", {"K-3"}},
        {"どこにも", {}},
        {"売物件", {"K-2", "K-3", "K-4"}},
    };
    for (const auto& [text, rows] : cases) {
        b->SearchEdit->setText(QString::fromUtf8(text));
        b->WaitIdle();
        EXPECT_EQ(Numbers(*b), rows) << text;
    }

    ASSERT_TRUE(b->EndCompareBtn->isEnabled());
    b->EndCompareBtn->click();
    b->WaitIdle();
    EXPECT_FALSE(b->EndCompareBtn->isEnabled());
    EXPECT_FALSE(b->CmbChange->isEnabled());
    EXPECT_TRUE(b->ListView->isColumnHidden(TChangeTableModel::Kinds));
    EXPECT_EQ(Numbers(*b), std::vector<std::string>{"K-1"});
}

} // namespace
} // namespace kovra::testing
