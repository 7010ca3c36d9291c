// The main window: start-up, loading and its messages, navigation, the
// direction list, member visibility, drops, the export lock and the
// member-stripped save.
#include "UiTestSupport.h"

#include "Cp932Codec.h"
#include "HostileFiles.h"

#include "Imageout.h"
#include "JapaneseFaces.h"
#include "KvSetDlg.h"
#include "MessageTexts.h"
#include "ListingBrowser.h"
#include "ListingTableModel.h"
#include "MainForm.h"
#include "SeparationForm.h"
#include "ShippedFiles.h"
#include "UserSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

using namespace kovra;
using namespace kovra::testing;

namespace {

QString Text(const TMainForm& f, const char* name)
{
    auto* e = f.findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(e, nullptr) << name;
    return e ? e->text() : QString();
}

QString Caption(const TMainForm& f, const char* name)
{
    return f.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

void Click(TMainForm& f, const char* button) { f.findChild<QPushButton*>(QString::fromLatin1(button))->click(); }

// The key goes where the platform sends it: the window's focus widget.
void Key(TMainForm& f, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* target = f.focusWidget() ? f.focusWidget() : &f;
    QTest::keyClick(target, key, mods);
}

std::vector<Columns> SaleListings(int count)
{
    std::vector<Columns> v;
    for (int i = 1; i <= count; ++i)
        v.push_back(SaleListing(i));
    return v;
}

void Drop(QWidget& target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

} // namespace

class MainFormTest : public UiTest {};

// Guards: a start without a file must show the empty state and leave the
// navigation commands harmless on an empty table.
TEST_F(MainFormTest, StartWithoutFileShowsEmptyStateAndNavigationDoesNothing)
{
    TMainForm form(settings_, document_);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer"));
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("0"));
    EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("データーを読み込んで下さい"));
    EXPECT_EQ(Caption(form, "LblGaiyou"), QStringLiteral("物件の概要が表示されます"));
    EXPECT_EQ(form.focusWidget(), form.findChild<QLineEdit*>(QStringLiteral("DataNumEdit")));
    for (const char* b : {"TopDataViewBtn", "BackDataViewBtn", "NextDataViewBtn", "ViewLastDataBtn"})
        Click(form, b);
    Key(form, Qt::Key_Right);
    Key(form, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("0"));
    EXPECT_TRUE(Text(form, "EdtBukkennNum").isEmpty());
    EXPECT_TRUE(messages_.empty());
}

// Guards: the command-line file must be loaded and listing 1 shown with the
// loader's title and total.
TEST_F(MainFormTest, StartWithFileArgumentShowsListingOne)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("sample.txt"), SaleListings(3));
    TMainForm form(settings_, document_, file);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer  sample.txt"));
    EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("/ 全物件数 3"));
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("1"));
    EXPECT_EQ(Text(form, "EdtBukkennNum"), QStringLiteral("K-1"));
    EXPECT_EQ(Text(form, "EdtTotiMenseki"), QStringLiteral("15㎡"));
    EXPECT_EQ(Text(form, "EdtTotiMenseki2"), QStringLiteral("15㎡"));
    EXPECT_EQ(Caption(form, "LblGaiyou"), QStringLiteral("売物件 土地 売地"));
    EXPECT_EQ(form.findChild<QPlainTextEdit*>(QStringLiteral("MemoBikou"))->toPlainText(),
              QStringLiteral("日当たり良好"));
    EXPECT_TRUE(messages_.empty());
}

// Guards: a bad line must give the line-number message in a plain box, the
// error caption and count 0, and keep the title of the file before.
TEST_F(MainFormTest, BadFileReportsItsLine)
{
    const QString good = WriteListingFile(tmp_.path(), QStringLiteral("good.txt"), SaleListings(3));
    std::vector<Columns> bad = SaleListings(3);
    bad[1][3] = "x"; // header line 1, listing lines 2..4: the second listing is line 3
    const QString badFile = WriteListingFile(tmp_.path(), QStringLiteral("bad.txt"), bad);

    TMainForm form(settings_, document_, good);
    EXPECT_FALSE(form.LoadFile(badFile));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("エラー   3行目で読込を中止しました"));
    EXPECT_EQ(messages_[0].icon, Tone::Plain);
    EXPECT_EQ(messages_[0].buttons, Choices::Ok);
    EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("ファイル読込エラー"));
    EXPECT_EQ(document_.Document()->ListingCount, 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer  good.txt"));
}

struct FailedLoadCase {
    const char* name;
    const char* file;
    const char* title;
    const char* total;
};

class FailedLoadTest : public UiTest, public ::testing::WithParamInterface<FailedLoadCase> {};

// Guards: a stale listing after a failed load (the boxes, the child
// window's copy and the number box still showing the file before, and
// stepping through a table that is empty).
TEST_P(FailedLoadTest, NoListingStaysOnShow)
{
    const FailedLoadCase& c = GetParam();
    const QString good = WriteListingFile(tmp_.path(), QStringLiteral("good.txt"), SaleListings(3));
    std::vector<Columns> badLine = SaleListings(3);
    badLine[1][3] = "x";
    WriteListingFile(tmp_.path(), QStringLiteral("badline.txt"), badLine);
    WriteListingFile(tmp_.path(), QStringLiteral("empty.txt"), {});
    WriteRawFile(tmp_.path(), QStringLiteral("notexport.txt"), "これは物件データーではありません\r\n");

    TMainForm form(settings_, document_, good);
    form.show();
    form.ChildMenuClick();
    TSeparationForm* child = form.SeparationForm();
    QLineEdit* area = form.TaggedBox(QStringLiteral("EdtTotiMenseki"));
    ASSERT_NE(area, nullptr);
    ASSERT_TRUE(child->DropField(area));
    auto* copy = child->findChild<QLineEdit*>(QStringLiteral("EdtTotiMenseki_Copy"));
    ASSERT_NE(copy, nullptr);
    TListingBrowser* browser = form.ListingBrowser();
    browser->show();
    browser->WaitIdle();
    QCoreApplication::processEvents();
    Click(form, "NextDataViewBtn");
    ASSERT_EQ(Text(form, "EdtBukkennNum"), QStringLiteral("K-2"));
    ASSERT_EQ(copy->text(), QStringLiteral("25㎡"));

    EXPECT_FALSE(form.LoadFile(Path(QString::fromLatin1(c.file))));
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8(c.title));
    EXPECT_EQ(Caption(form, "DataHighNumLbl"), QString::fromUtf8(c.total));
    EXPECT_EQ(Caption(form, "LblGaiyou"), QStringLiteral("物件の概要が表示されます"));
    EXPECT_EQ(Text(form, "DataNumEdit"), QString());
    for (QLineEdit* box : form.findChildren<QLineEdit*>())
        if (box->objectName() != QStringLiteral("DataNumEdit") && box->window() == &form) {
            EXPECT_EQ(box->text(), QString()) << box->objectName().toStdString();
        }
    for (QPlainTextEdit* memo : form.findChildren<QPlainTextEdit*>())
        EXPECT_EQ(memo->toPlainText(), QString()) << memo->objectName().toStdString();
    EXPECT_EQ(form.findChild<QComboBox*>(QStringLiteral("CmbSetudouHoukou"))->count(), 0);
    EXPECT_EQ(copy->text(), QString());

    // Stepping, the direction list and the report commands have nothing to show.
    int shown = 0;
    QObject::connect(&form, &TMainForm::ListingShown, &form, [&shown](int) { ++shown; });
    for (const char* b : {"TopDataViewBtn", "BackDataViewBtn", "NextDataViewBtn", "ViewLastDataBtn"})
        Click(form, b);
    Key(form, Qt::Key_Right);
    emit form.findChild<QComboBox*>(QStringLiteral("CmbSetudouHoukou"))->activated(2);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(Text(form, "DataNumEdit"), QString());
    EXPECT_EQ(Text(form, "EdtBukkennNum"), QString());
    EXPECT_EQ(Text(form, "EdtSetudouFukuin"), QString());
    browser->WaitIdle();
    QCoreApplication::processEvents();
    EXPECT_EQ(browser->Model()->rowCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    AfterAGoodFile, FailedLoadTest,
    ::testing::Values(FailedLoadCase{"BadLine", "badline.txt", "Kovra Viewer  good.txt", "ファイル読込エラー"},
                      FailedLoadCase{"NoListings", "empty.txt", "Kovra Viewer  empty.txt", "/ 全物件数 0"},
                      FailedLoadCase{"NotAnExportFile", "notexport.txt", "Kovra Viewer  notexport.txt", "/ 全物件数 0"}),
    [](const auto& info) { return std::string(info.param.name); });

// Guards: a file without listing lines must set title and total 0 and say
// so with the error icon.
TEST_F(MainFormTest, FileWithoutListingsShowsErrorBox)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("empty.txt"), {});
    TMainForm form(settings_, document_);
    EXPECT_FALSE(form.LoadFile(file));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("コヴラデーターファイルを開くことができません"));
    EXPECT_EQ(messages_[0].icon, Tone::Error);
    EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("/ 全物件数 0"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer  empty.txt"));
    EXPECT_EQ(Text(form, "DataNumEdit"), QString());
}

// Guards: a file that cannot be opened must be named in an error box and
// change nothing, not even the file the stripped save reads.
TEST_F(MainFormTest, UnreadableFileChangesNothing)
{
    const QString good = WriteListingFile(tmp_.path(), QStringLiteral("good.txt"), SaleListings(2));
    TMainForm form(settings_, document_, good);
    // A FIFO or a device is refused at once, as a missing file is.
    const QString fifo = Path(QStringLiteral("fifo"));
    kovra::test::MakeFifo(fifo.toStdString());
    for (const QString& bad : {Path(QStringLiteral("missing.txt")), fifo, QStringLiteral("/dev/zero")}) {
        if (!QFileInfo::exists(bad) && bad != Path(QStringLiteral("missing.txt")))
            continue;
        messages_.clear();
        EXPECT_FALSE(form.LoadFile(bad));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].icon, Tone::Error);
        EXPECT_EQ(messages_[0].text, QStringLiteral("ファイル %1 は開けません").arg(bad));
        EXPECT_EQ(document_.Document()->ListingCount, 2);
        EXPECT_EQ(QString::fromStdString(document_.Document()->CurrentFileName), good);
        EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("/ 全物件数 2"));
    }
    // A file that fails while it is read is a failed load, not a short one.
    if (QFileInfo::exists(QStringLiteral("/proc/self/mem"))) {
        messages_.clear();
        EXPECT_FALSE(form.LoadFile(QStringLiteral("/proc/self/mem")));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, QStringLiteral("ファイル /proc/self/mem の読込中にエラーが発生しました"));
        EXPECT_EQ(document_.Document()->ListingCount, 0);
        EXPECT_EQ(Caption(form, "DataHighNumLbl"), QStringLiteral("ファイル読込エラー"));
    }
}

struct NavCase {
    const char* name;
    int start;
    enum { Next, Back, First, Last, Right, Left } command;
    Qt::KeyboardModifiers mods;
    int expected;
};

class NavigationTest : public UiTest, public ::testing::WithParamInterface<NavCase> {};

// Guards: wrong steps at the ends (wrap-around, overrun) and the Ctrl/Shift
// rules of the arrow keys.
TEST_P(NavigationTest, StepsAsTheCommandSays)
{
    const NavCase& c = GetParam();
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("ten.txt"), SaleListings(10));
    TMainForm form(settings_, document_, file);
    form.show();
    for (int i = 1; i < c.start; ++i)
        Click(form, "NextDataViewBtn");
    ASSERT_EQ(Text(form, "DataNumEdit").toInt(), c.start);
    switch (c.command) {
    case NavCase::Next: Click(form, "NextDataViewBtn"); break;
    case NavCase::Back: Click(form, "BackDataViewBtn"); break;
    case NavCase::First: Click(form, "TopDataViewBtn"); break;
    case NavCase::Last: Click(form, "ViewLastDataBtn"); break;
    case NavCase::Right: Key(form, Qt::Key_Right, c.mods); break;
    case NavCase::Left: Key(form, Qt::Key_Left, c.mods); break;
    }
    EXPECT_EQ(Text(form, "DataNumEdit").toInt(), c.expected);
    EXPECT_EQ(Text(form, "EdtBukkennNum"), QStringLiteral("K-%1").arg(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, NavigationTest,
    ::testing::Values(NavCase{"NextInMiddle", 5, NavCase::Next, {}, 6},
                      NavCase{"NextOnLast", 10, NavCase::Next, {}, 10},
                      NavCase{"BackInMiddle", 5, NavCase::Back, {}, 4},
                      NavCase{"BackOnFirst", 1, NavCase::Back, {}, 1},
                      NavCase{"First", 5, NavCase::First, {}, 1},
                      NavCase{"Last", 5, NavCase::Last, {}, 10},
                      NavCase{"RightOnLast", 10, NavCase::Right, {}, 10},
                      NavCase{"LeftOnFirst", 1, NavCase::Left, {}, 1},
                      NavCase{"Right", 2, NavCase::Right, {}, 3},
                      NavCase{"Left", 5, NavCase::Left, {}, 4},
                      NavCase{"CtrlRight", 2, NavCase::Right, Qt::ControlModifier, 10},
                      NavCase{"ShiftRight", 2, NavCase::Right, Qt::ShiftModifier, 3},
                      NavCase{"CtrlShiftRight", 2, NavCase::Right, Qt::ControlModifier | Qt::ShiftModifier, 10},
                      NavCase{"CtrlLeft", 5, NavCase::Left, Qt::ControlModifier, 1},
                      NavCase{"AltRight", 2, NavCase::Right, Qt::AltModifier, 3}),
    [](const ::testing::TestParamInfo<NavCase>& i) { return std::string(i.param.name); });

// Guards: a key nobody takes travels up to the window; it must still be
// one step, not one per widget it passes.
TEST_F(MainFormTest, KeyPassingUpThroughWidgetsStepsOnce)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("ten.txt"), SaleListings(10));
    TMainForm form(settings_, document_, file);
    form.show();
    auto* plain = new QWidget(form.findChild<QWidget*>(QStringLiteral("MainSheet")));
    plain->setFocusPolicy(Qt::StrongFocus);
    plain->show();
    plain->setFocus();
    ASSERT_EQ(form.focusWidget(), plain);
    Key(form, Qt::Key_Right);
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("2"));
}

// Guards: holding the key (auto-repeat) must step through every listing of
// a full file and end on the last one with its texts on show.
TEST_F(MainFormTest, HeldRightKeyStepsThroughAThousandListings)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("big.txt"), SaleListings(1001));
    TMainForm form(settings_, document_, file);
    form.show();
    QWidget* target = form.focusWidget() ? form.focusWidget() : &form;
    for (int i = 0; i < 1000; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), /*autorep*/ i > 0);
        QApplication::sendEvent(target, &press);
    }
    QApplication::processEvents();
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("1001"));
    EXPECT_EQ(Text(form, "EdtBukkennNum"), QStringLiteral("K-1001"));
}

// Guards: an empty road direction must still give four items, and a choice
// must show the width of the listing on show, not of listing 1.
TEST_F(MainFormTest, DirectionListHasFourItemsAndShowsWidthOfListingOnShow)
{
    std::vector<Columns> v = SaleListings(3);
    for (Columns& c : v)
        for (int col : {26, 32, 87, 89})
            c.erase(col);
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("roads.txt"), v);
    TMainForm form(settings_, document_, file);
    Click(form, "NextDataViewBtn");
    auto* combo = form.findChild<QComboBox*>(QStringLiteral("CmbSetudouHoukou"));
    ASSERT_EQ(combo->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(combo->itemText(i), QStringLiteral("-----"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(Text(form, "EdtSetudouFukuin"), QStringLiteral("4.2m"));
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(Text(form, "EdtSetudouFukuin"), QStringLiteral("8.2m"));
    emit combo->activated(3);
    EXPECT_EQ(Text(form, "EdtSetudouFukuin"), QStringLiteral("9.2m"));
    Click(form, "NextDataViewBtn"); // a new listing starts again at road 1
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(Text(form, "EdtSetudouFukuin"), QStringLiteral("4.3m"));
}

// Guards: the mail link must open only for a real address.
TEST_F(MainFormTest, EmailClickOpensMailOnlyForAnAddress)
{
    std::vector<Columns> v = SaleListings(2);
    v[1].erase(86);
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("mail.txt"), v);
    TMainForm form(settings_, document_, file);
    QTest::mouseClick(form.findChild<QLineEdit*>(QStringLiteral("EdtEmail")), Qt::LeftButton);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0].toString(), QStringLiteral("mailto:agent1@example.com"));
    Click(form, "NextDataViewBtn");
    ASSERT_EQ(Text(form, "EdtEmail"), QStringLiteral("-----"));
    form.EdtEmailClick();
    EXPECT_EQ(Opened().size(), 1u);
}

struct VisibilityCase {
    const char* name;
    const char* stored; // nullptr: value missing
    bool shown;
};

class MemberVisibilityTest : public UiTest, public ::testing::WithParamInterface<VisibilityCase> {};

// Guards: the stored switch must be read as an integer with the default
// for text that is not one.
TEST_P(MemberVisibilityTest, StoredSwitchDecidesBothGroups)
{
    const VisibilityCase& c = GetParam();
    if (c.stored)
        StoreSetting(QStringLiteral("FMember"), QStringLiteral("MemberViewOk"), QString::fromLatin1(c.stored));
    TMainForm form(settings_, document_);
    EXPECT_EQ(!form.findChild<QGroupBox*>(QStringLiteral("GroupKaiin"))->isHidden(), c.shown);
    EXPECT_EQ(!form.findChild<QGroupBox*>(QStringLiteral("GroupKaiin2"))->isHidden(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Settings, MemberVisibilityTest,
                         ::testing::Values(VisibilityCase{"Zero", "0", false}, VisibilityCase{"One", "1", true},
                                           VisibilityCase{"Seven", "7", true},
                                           VisibilityCase{"NotANumber", "abc", true},
                                           VisibilityCase{"Missing", nullptr, true}),
                         [](const ::testing::TestParamInfo<VisibilityCase>& i) { return std::string(i.param.name); });

namespace {
// Runs the settings command and, once its dialog is up, unticks the member
// box and presses `button`.
void RunSettingsDialog(TMainForm& form, const char* button)
{
    QTimer::singleShot(0, &form, [&form, button] {
        TKvSetDlg* dlg = form.KvSetDlg();
        dlg->findChild<QCheckBox*>(QStringLiteral("MemberChk"))->setChecked(false);
        dlg->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
    form.KvSetupDlgMenuClick();
}
} // namespace

// Guards: Cancel must change nothing and forget the edit; OK must hide
// both member groups at once.
TEST_F(MainFormTest, SettingsDialogCancelKeepsAndOkApplies)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("s.txt"), SaleListings(1));
    TMainForm form(settings_, document_, file);
    auto* g1 = form.findChild<QGroupBox*>(QStringLiteral("GroupKaiin"));
    auto* g2 = form.findChild<QGroupBox*>(QStringLiteral("GroupKaiin2"));

    RunSettingsDialog(form, "CancelBtn");
    EXPECT_TRUE(settings_.MemberViewOk);
    EXPECT_FALSE(g1->isHidden());
    form.KvSetDlg()->show(); // each showing starts from the settings again
    EXPECT_TRUE(form.KvSetDlg()->findChild<QCheckBox*>(QStringLiteral("MemberChk"))->isChecked());
    form.KvSetDlg()->hide();

    RunSettingsDialog(form, "OKBtn");
    EXPECT_FALSE(settings_.MemberViewOk);
    EXPECT_TRUE(g1->isHidden());
    EXPECT_TRUE(g2->isHidden());
    // The hidden group's boxes are filled all the same.
    EXPECT_EQ(Text(form, "EdtKaiinmei"), QStringLiteral("コヴラ不動産1"));
}

// Guards: the store exists from the start, but the settings reach it only
// at the end, all as texts, the switches as "1"/"0".
TEST_F(MainFormTest, SettingsAreWrittenAsTextsWhenTheWindowEnds)
{
    {
        TMainForm form(settings_, document_);
        EXPECT_TRUE(QFile::exists(SettingsFile()));
        EXPECT_TRUE(QSettings(SettingsFile(), QSettings::IniFormat).allKeys().isEmpty());
        TKvSetDlg* dlg = form.KvSetDlg();
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("EdtUserName"))->text(), QStringLiteral("（株）USER"));
        EXPECT_EQ(dlg->findChild<QLineEdit*>(QStringLiteral("EdtHp"))->text(), QStringLiteral("http://"));
        EXPECT_FALSE(dlg->findChild<QCheckBox*>(QStringLiteral("ChkMemberPrt"))->isEnabled());
        QTimer::singleShot(0, &form, [dlg] {
            dlg->findChild<QLineEdit*>(QStringLiteral("EdtUserName"))->setText(QStringLiteral("（有）山田不動産"));
            dlg->findChild<QCheckBox*>(QStringLiteral("MemberChk"))->setChecked(false);
            dlg->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        form.KvSetupDlgMenuClick();
    }
    QSettings s(SettingsFile(), QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("FMember/MemberViewOk")).toString(), QStringLiteral("0"));
    EXPECT_EQ(s.value(QStringLiteral("FMember/MemberPrintOk")).toString(), QStringLiteral("1"));
    EXPECT_EQ(s.value(QStringLiteral("FUser/Name")).toString(), QStringLiteral("（有）山田不動産"));
    EXPECT_EQ(s.value(QStringLiteral("FUser/Email")).toString(), QStringLiteral("user@example.com"));
}

// Guards: of several dropped files only the first is loaded.
TEST_F(MainFormTest, DropOfSeveralFilesLoadsTheFirst)
{
    const QString a = WriteListingFile(tmp_.path(), QStringLiteral("a.txt"), SaleListings(2));
    const QString b = WriteListingFile(tmp_.path(), QStringLiteral("b.txt"), SaleListings(5));
    TMainForm form(settings_, document_);
    Drop(form, {QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer  a.txt"));
    EXPECT_EQ(document_.Document()->ListingCount, 2);
    EXPECT_EQ(Text(form, "DataNumEdit"), QStringLiteral("1"));
}

// Guards: while an export reads the table, the window must not close, must
// refuse drops (with a word) and must disable its open and HTML commands.
TEST_F(MainFormTest, ExportRunLocksCloseDropAndCommands)
{
    const QString a = WriteListingFile(tmp_.path(), QStringLiteral("a.txt"), SaleListings(2));
    const QString b = WriteListingFile(tmp_.path(), QStringLiteral("b.txt"), SaleListings(5));
    TMainForm form(settings_, document_, a);
    form.show();
    DocumentSlot::RunLease run = document_.Slot().BeginRun();
    for (const char* name : {"FileOpenMenu", "FileOpenBtn", "HTMLH1", "MakeHtmlBtn"})
        EXPECT_FALSE(form.findChild<QAction*>(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(messages_.size(), 1u) << "the close box says why nothing happens";
    EXPECT_EQ(messages_[0].text.toStdString(), msg::kCannotCloseWhileExporting);
    messages_.clear();

    Drop(form, {QUrl::fromLocalFile(b)});
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].icon, Tone::Warning);
    EXPECT_EQ(document_.Document()->ListingCount, 2);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kovra Viewer  a.txt"));

    run.Release();
    EXPECT_TRUE(form.findChild<QAction*>(QStringLiteral("FileOpenMenu"))->isEnabled());
    EXPECT_TRUE(form.close());
}

// Guards: the stripped copy must be written through the toolbar command
// (the menu item stays disabled), and it must load again without members.
TEST_F(MainFormTest, StrippedSaveWritesALoadableCopy)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("src.txt"), SaleListings(2));
    const QString target = Path(QStringLiteral("copy.kvd"));
    TMainForm form(settings_, document_, file);
    EXPECT_FALSE(form.findChild<QAction*>(QStringLiteral("SaveMemberDel"))->isEnabled());
    auto* button = form.findChild<QAction*>(QStringLiteral("SaveMemDelBtn"));
    ASSERT_TRUE(button->isEnabled());
    form.SetSaveFileChooser([&] { return target; });
    button->trigger();
    EXPECT_TRUE(messages_.empty());
    ASSERT_TRUE(form.LoadFile(target));
    EXPECT_EQ(Text(form, "EdtKaiinmei"), QString());
    EXPECT_EQ(Text(form, "EdtEmail"), QStringLiteral("-----"));
    EXPECT_EQ(Text(form, "EdtTotiMenseki"), QStringLiteral("15㎡"));
}

// Guards: a source gone from disk must be reported and must not touch an
// existing target file.
TEST_F(MainFormTest, StrippedSaveFailureKeepsExistingTarget)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("src.txt"), SaleListings(2));
    const QString target = WriteRawFile(tmp_.path(), QStringLiteral("old.kvd"), "old content\r\n");
    TMainForm form(settings_, document_, file);
    ASSERT_TRUE(QFile::remove(file));
    form.SetSaveFileChooser([&] { return target; });
    form.SaveMemberDelClick();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].icon, Tone::Error);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("src.txt")));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old content\r\n"));
}

// Guards the loaded file: the stripped copy is never saved onto it (by any
// spelling); the dialog comes back for another name and the file is kept.
TEST_F(MainFormTest, StrippedSaveNeverOntoTheLoadedFile)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("src.txt"), SaleListings(2));
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    TMainForm form(settings_, document_, file);
    const QStringList answers{Path(QStringLiteral("./src.txt")), Path(QStringLiteral("copy.kvd"))};
    int asked = 0;
    form.SetSaveFileChooser([&] { return asked < answers.size() ? answers[asked++] : QString(); });
    form.SaveMemberDelClick();
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text.toStdString(), msg::OutputIsInput(answers[0].toStdString()));
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    EXPECT_TRUE(QFile::exists(answers[1]));
}

// Guards the profile texts the report cannot print: OK keeps them (the
// HTML pages carry them), marks their boxes and names the characters.
TEST_F(MainFormTest, SettingsMarkCharactersTheReportCannotPrint)
{
    TMainForm form(settings_, document_);
    TKvSetDlg* dlg = form.KvSetDlg();
    auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("EdtUserName"));
    auto* tel = dlg->findChild<QLineEdit*>(QStringLiteral("EdtTel"));
    QTimer::singleShot(0, &form, [&] {
        name->setText(QStringLiteral("山田😀不動産"));
        dlg->findChild<QLineEdit*>(QStringLiteral("EdtJyusyo"))->setText(QStringLiteral("𠮷野町1−2"));
        dlg->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    });
    form.KvSetupDlgMenuClick();
    EXPECT_EQ(settings_.UserProfile.Name, "山田😀不動産");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].icon, Tone::Warning);
    EXPECT_EQ(messages_[0].text.toStdString(),
              std::string(msg::kProfileCharactersNotPrinted) + "\nお名前: 😀\n住所: 𠮷 −");
    EXPECT_FALSE(name->styleSheet().isEmpty());
    EXPECT_TRUE(tel->styleSheet().isEmpty());
    EXPECT_NE(name->toolTip().indexOf(QStringLiteral("😀")), -1);
}

// Guards: with nothing loaded the save, print and preview commands do
// nothing at all (no dialog, no message, no report request).
TEST_F(MainFormTest, CommandsWithNothingLoadedDoNothing)
{
    TMainForm form(settings_, document_);
    bool asked = false, requested = false;
    form.SetSaveFileChooser([&] { asked = true; return QString(); });
    QObject::connect(&form, &TMainForm::PrintRequested, [&] { requested = true; });
    QObject::connect(&form, &TMainForm::PreviewRequested, [&] { requested = true; });
    form.SaveMemberDelClick();
    form.PrintMenuClick();
    form.ToolPreViewBtnClick();
    EXPECT_FALSE(asked);
    EXPECT_FALSE(requested);
    EXPECT_TRUE(messages_.empty());
}

// Guards: the help items must hand the support page and the shipped
// document to the desktop, the document readable by the system's text
// viewer: Shift-JIS on Windows, elsewhere a UTF-8 copy in the cache folder.
TEST_F(MainFormTest, HelpItemsOpenSupportPageAndReadme)
{
    const QByteArray cacheBefore = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", tmp_.filePath(QStringLiteral("cache")).toUtf8());
    TMainForm form(settings_, document_);
    form.SupportMenuClick();
    form.ReadDocMenuClick();
    form.ReadDocMenuClick(); // a second time over the first copy
    qputenv("XDG_CACHE_HOME", cacheBefore);
    ASSERT_EQ(Opened().size(), 3u);
    EXPECT_EQ(Opened()[0].toString(), QStringLiteral("https://support.example.com/kovra/"));
    EXPECT_TRUE(Opened()[1].isLocalFile());
    EXPECT_TRUE(Opened()[1].toLocalFile().endsWith(QStringLiteral("/Readme.txt")));
    EXPECT_EQ(Opened()[2], Opened()[1]);
    QFile opened(Opened()[1].toLocalFile());
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    QFile shipped(QString::fromStdString(services::ShippedFile("Readme.txt")));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const std::string shippedBytes = shipped.readAll().toStdString();
#ifdef Q_OS_WIN
    EXPECT_EQ(opened.fileName(), shipped.fileName());
#else
    EXPECT_TRUE(opened.fileName().startsWith(tmp_.filePath(QStringLiteral("cache")))) << opened.fileName().toStdString();
    EXPECT_EQ(opened.readAll().toStdString(), cp932::toUtf8(shippedBytes));
    EXPECT_NE(cp932::toUtf8(shippedBytes), shippedBytes) << "the shipped Readme is Shift-JIS";
#endif
}

// Guards: forms and settings that name the Windows Japanese faces must get
// an installed Japanese face, not a Latin fallback without kana.
TEST_F(MainFormTest, WindowsJapaneseFacesMapToInstalledFaces)
{
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "IPA fonts not installed";
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ 明朝")).toLower(), QStringLiteral("ipamincho"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ ゴシック")).toLower(), QStringLiteral("ipagothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")).toLower(), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("MS PMincho")).toLower(), QStringLiteral("ipapmincho"));
    EXPECT_TRUE(QFontInfo(QApplication::font()).family().startsWith(QStringLiteral("IPA")));
}

// Guards the viewer's windows and the print engine drifting apart on which
// face stands in for a Windows face: both read the one table.
TEST_F(MainFormTest, ViewerAndEngineAgreeOnEveryFace)
{
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic")))
        GTEST_SKIP() << "IPA fonts not installed";
    dorvex::EnsureEngineStarted();
    for (const FaceStandIn& face : kFaceStandIns) {
        for (std::string_view name : {face.windowsFace, face.asciiFace}) {
            const QString n = QString::fromUtf8(name.data(), qsizetype(name.size()));
            EXPECT_EQ(dorvex::SubstituteFace(n).toLower(), QFont::substitute(n).toLower()) << n.toStdString();
        }
    }
}

#include "HtmlExportRun.h"
#include "HtmlSetupDlg.h"
#include "ShippedFiles.h"

#include <QDeadlineTimer>
#include <QDir>

// Guards: the window's HTML command must start the real export, and until
// its end message is gone the window must refuse to close and keep its
// open and HTML commands disabled.
TEST_F(MainFormTest, HtmlExportRunLocksTheWindowUntilItsEndMessage)
{
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("h.txt"), SaleListings(3));
    const QString templ = WriteRawFile(tmp_.path(), QStringLiteral("t.html"), "<p>/*BukkennNum*/</p>\r\n");
    WriteRawFile(tmp_.path(), QStringLiteral("FieldList"), "/*BukkennNum*/\r\n");
    const QString out = tmp_.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    TMainForm form(settings_, document_, file);
    form.show();
    services::SetProgramFolder(tmp_.path().toStdString()); // the FieldList beside the program
    prompter_->windowShown = [&](QWidget& window) {
        auto* dlg = qobject_cast<THtmlSetupDlg*>(&window);
        ASSERT_NE(dlg, nullptr);
        dlg->SaveDirEdt->setText(QDir::toNativeSeparators(out));
        dlg->TemptateEdt->setText(templ);
        dlg->accept();
    };
    bool closedDuringRun = true;
    bool openEnabledDuringRun = true;
    int finished = 0;
    prompter_->answer = [&](const Question& q) {
        if (q.text == msg::kCannotCloseWhileExporting)
            return Answer::Ok; // the word of the close below
        ++finished;
        closedDuringRun = form.close();
        openEnabledDuringRun = form.findChild<QAction*>(QStringLiteral("FileOpenMenu"))->isEnabled()
            || form.findChild<QAction*>(QStringLiteral("MakeHtmlBtn"))->isEnabled();
        return Answer::Ok;
    };

    form.findChild<QAction*>(QStringLiteral("MakeHtmlBtn"))->trigger();
    QDeadlineTimer deadline(20000);
    while (document_.InUseByRun() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    ASSERT_EQ(finished, 1);
    EXPECT_FALSE(closedDuringRun);
    EXPECT_FALSE(openEnabledDuringRun);
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/K-1.html")));
    EXPECT_TRUE(form.findChild<QAction*>(QStringLiteral("HTMLH1"))->isEnabled());
    EXPECT_TRUE(form.close());
}
