// The detached field window and the about box.
#include "UiTestSupport.h"

#include "AboutBox.h"
#include "HostileFiles.h"
#include "MainForm.h"
#include "TextLines.h"
#include "ShippedFiles.h"
#include "SeparationForm.h"

#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <filesystem>

using namespace kovra;
using namespace kovra::testing;

namespace {

class SeparationTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        std::vector<Columns> v;
        for (int i = 1; i <= 3; ++i)
            v.push_back(SaleListing(i));
        form_ = std::make_unique<TMainForm>(settings_, document_, WriteListingFile(tmp_.path(), QStringLiteral("s.txt"), v));
        form_->show();
        sep_ = form_->SeparationForm();
        form_->ChildMenuClick();
    }
    void TearDown() override
    {
        form_.reset();
        UiTest::TearDown();
    }

    QLineEdit* Box(const char* name) { return form_->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QLineEdit* Copy(const char* name)
    {
        return sep_->findChild<QLineEdit*>(QString::fromLatin1(name) + QStringLiteral("_Copy"));
    }
    QLabel* CaptionOf(const char* name)
    {
        return sep_->findChild<QLabel*>(QStringLiteral("Lbl") + QString::fromLatin1(name) + QStringLiteral("_Copy"));
    }
    QLabel* Prompt() { return sep_->findChild<QLabel*>(QStringLiteral("LblReadme")); }
    void Next() { form_->findChild<QPushButton*>(QStringLiteral("NextDataViewBtn"))->click(); }

    // Delivers a drop as the drag from the main window's box would.
    bool DropBox(const char* name)
    {
        QMimeData mime;
        mime.setData(QStringLiteral("application/x-kovra-field"), QByteArray(name));
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sep_, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sep_, &drop);
        return drop.isAccepted();
    }

    int VisibleLabels()
    {
        int n = 0;
        for (QLabel* l : sep_->findChildren<QLabel*>())
            n += l->isVisibleTo(sep_);
        return n;
    }

    std::unique_ptr<TMainForm> form_;
    TSeparationForm* sep_ = nullptr;
};

} // namespace

// Guards: a drop must show the LblTag caption of the box's tag and a copy
// that follows the main window.
TEST_F(SeparationTest, DropShowsCaptionAndCopyThatFollows)
{
    ASSERT_TRUE(DropBox("EdtTotiMenseki"));
    ASSERT_NE(CaptionOf("EdtTotiMenseki"), nullptr);
    EXPECT_EQ(CaptionOf("EdtTotiMenseki")->text(), QStringLiteral("土地面積"));
    EXPECT_EQ(Copy("EdtTotiMenseki")->text(), QStringLiteral("15㎡"));
    EXPECT_FALSE(Prompt()->isVisibleTo(sep_));
    EXPECT_EQ(CaptionOf("EdtTotiMenseki")->pos(), QPoint(5, 10));
    EXPECT_EQ(Copy("EdtTotiMenseki")->pos(), QPoint(CaptionOf("EdtTotiMenseki")->width() + 15, 5));
    EXPECT_EQ(Copy("EdtTotiMenseki")->width(), Box("EdtTotiMenseki")->width());
    Next();
    EXPECT_EQ(Copy("EdtTotiMenseki")->text(), QStringLiteral("25㎡"));
}

// Guards: drags that do not come from a tagged box must be refused.
TEST_F(SeparationTest, UntaggedOrForeignDragsAreRefused)
{
    EXPECT_FALSE(DropBox("EdtKoutuu"));
    EXPECT_FALSE(DropBox("NoSuchBox"));
    QMimeData text;
    text.setText(QStringLiteral("EdtTotiMenseki"));
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(sep_, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_TRUE(Prompt()->isVisibleTo(sep_));
}

// Guards: a second field must hide the first, and the first dropped again
// must come back as the same pair without reading LblTag.
TEST_F(SeparationTest, RedropReusesThePairWithoutReadingLblTag)
{
    ASSERT_TRUE(DropBox("EdtTotiMenseki"));
    QLineEdit* first = Copy("EdtTotiMenseki");
    ASSERT_TRUE(DropBox("EdtTimoku"));
    EXPECT_FALSE(first->isVisibleTo(sep_));
    EXPECT_FALSE(CaptionOf("EdtTotiMenseki")->isVisibleTo(sep_));
    EXPECT_TRUE(Copy("EdtTimoku")->isVisibleTo(sep_));

    services::SetProgramFolder(tmp_.path().toStdString()); // no LblTag there
    ASSERT_TRUE(DropBox("EdtTotiMenseki"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Copy("EdtTotiMenseki"), first);
    EXPECT_TRUE(first->isVisibleTo(sep_));
    EXPECT_FALSE(Copy("EdtTimoku")->isVisibleTo(sep_));
    EXPECT_EQ(sep_->findChildren<QLineEdit*>().size(), 2);
}

// Guards: a caption click must bring back the prompt while the hidden copy
// keeps following the main window.
TEST_F(SeparationTest, CaptionClickHidesPairAndCopyKeepsFollowing)
{
    ASSERT_TRUE(DropBox("EdtTotiMenseki"));
    QLabel* caption = CaptionOf("EdtTotiMenseki");
    QTest::mouseClick(caption, Qt::LeftButton);
    EXPECT_FALSE(caption->isVisibleTo(sep_));
    EXPECT_FALSE(Copy("EdtTotiMenseki")->isVisibleTo(sep_));
    EXPECT_TRUE(Prompt()->isVisibleTo(sep_));
    Next();
    Next();
    EXPECT_EQ(Copy("EdtTotiMenseki")->text(), QStringLiteral("35㎡"));
    ASSERT_TRUE(DropBox("EdtTotiMenseki"));
    EXPECT_TRUE(Copy("EdtTotiMenseki")->isVisibleTo(sep_));
    EXPECT_FALSE(Prompt()->isVisibleTo(sep_));
}

// Guards: two boxes with the same tag are two pairs with the same caption.
TEST_F(SeparationTest, SameTagOnTwoBoxesGivesTwoPairs)
{
    ASSERT_TRUE(DropBox("EdtGenkyou"));
    ASSERT_TRUE(DropBox("EdtGenkyou2"));
    ASSERT_NE(CaptionOf("EdtGenkyou"), CaptionOf("EdtGenkyou2"));
    EXPECT_EQ(CaptionOf("EdtGenkyou")->text(), QStringLiteral("現況"));
    EXPECT_EQ(CaptionOf("EdtGenkyou2")->text(), QStringLiteral("現況"));
}

// Guards: the window must grow to fit a long caption and never shrink.
TEST_F(SeparationTest, WindowGrowsForALongCaptionAndNeverShrinks)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(text::ReadCp932Lines(KOVRA_SOURCE_DIR "/data/LblTag", lines, kCaptionFileSizeLimit).ok());
    lines[4] = "とても長い土地の権利の項目名の見出しです";
    std::string joined;
    for (const std::string& line : lines)
        joined += line + "\r\n";
    WriteRawFile(tmp_.path(), QStringLiteral("LblTag"), joined);
    services::SetProgramFolder(tmp_.path().toStdString());

    const QSize before = sep_->size();
    ASSERT_TRUE(DropBox("EdtTotiKenri"));
    const int w = CaptionOf("EdtTotiKenri")->width() + Copy("EdtTotiKenri")->width();
    EXPECT_EQ(sep_->width(), std::max(before.width() < w + 15 ? w + 30 : before.width(), before.width()));
    EXPECT_GE(sep_->width(), w + 15);
    EXPECT_GE(sep_->height(), Copy("EdtTotiKenri")->y() + 50);
    const QSize grown = sep_->size();
    ASSERT_TRUE(DropBox("EdtTimoku"));
    EXPECT_EQ(sep_->size(), grown);
}

struct BadTagFile {
    const char* name;
    const char* content; // nullptr: no file
    enum { Plain, Fifo, TooLarge } kind = Plain;
};

class SeparationBadLblTagTest : public SeparationTest, public ::testing::WithParamInterface<BadTagFile> {};

// Guards: a missing or short LblTag must give a message, add no pair and
// leave the window empty, not crash.
TEST_P(SeparationBadLblTagTest, DropEndsWithMessageAndEmptyWindow)
{
    const BadTagFile& c = GetParam();
    const QString dir = tmp_.filePath(QStringLiteral("prog"));
    QDir().mkpath(dir);
    if (c.content)
        WriteRawFile(dir, QStringLiteral("LblTag"), c.content);
    const std::filesystem::path tag = (dir + QStringLiteral("/LblTag")).toStdString();
    if (c.kind == BadTagFile::Fifo && !kovra::test::MakeFifo(tag))
        GTEST_SKIP() << "no FIFOs here";
    if (c.kind == BadTagFile::TooLarge)
        std::filesystem::resize_file(tag, kCaptionFileSizeLimit + 1);
    services::SetProgramFolder(dir.toStdString());
    EXPECT_TRUE(DropBox("EdtHousyuu")); // tag 16
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].icon, Tone::Error);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("LblTag")));
    EXPECT_EQ(CaptionOf("EdtHousyuu"), nullptr);
    EXPECT_EQ(Copy("EdtHousyuu"), nullptr);
    EXPECT_EQ(VisibleLabels(), 0);

    // The next drop works again once the file is there.
    services::SetProgramFolder(KOVRA_SOURCE_DIR "/data");
    ASSERT_TRUE(DropBox("EdtHousyuu"));
    EXPECT_EQ(CaptionOf("EdtHousyuu")->text(), QStringLiteral("報酬形態"));
}

INSTANTIATE_TEST_SUITE_P(LblTag, SeparationBadLblTagTest,
                         ::testing::Values(BadTagFile{"Missing", nullptr},
                                           BadTagFile{"Empty", ""},
                                           // Only a regular file of sane size is read: no hang, no flood.
                                           BadTagFile{"Fifo", nullptr, BadTagFile::Fifo},
                                           BadTagFile{"TooLarge", "x", BadTagFile::TooLarge},
                                           BadTagFile{"SixteenLines", "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"
                                                                      "9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n"}),
                         [](const ::testing::TestParamInfo<BadTagFile>& i) { return std::string(i.param.name); });

// Guards: closing the window only hides it; the pairs stay.
TEST_F(SeparationTest, CloseHidesAndKeepsPairs)
{
    ASSERT_TRUE(DropBox("EdtTimoku"));
    sep_->close();
    EXPECT_FALSE(sep_->isVisible());
    form_->ChildMenuClick();
    EXPECT_TRUE(sep_->isVisible());
    EXPECT_TRUE(Copy("EdtTimoku")->isVisibleTo(sep_));
}

// Guards: the link must turn blue under the mouse and black again over the
// group, and a click must open the support page.
TEST_F(SeparationTest, AboutBoxLinkHoverColoursAndClick)
{
    TAboutBox* about = form_->AboutBox();
    about->show();
    auto* link = about->findChild<QLabel*>(QStringLiteral("SupportLinkLbl"));
    auto* grp = about->findChild<QGroupBox*>(QStringLiteral("SupportGrp"));
    auto colour = [&] { return link->palette().color(QPalette::WindowText); };
    EXPECT_EQ(colour(), QColor(Qt::black));
    QTest::mouseMove(link, QPoint(3, 3));
    QMouseEvent overLink(QEvent::MouseMove, QPointF(3, 3), link->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &overLink);
    EXPECT_EQ(colour(), QColor(Qt::blue));
    QMouseEvent overGroup(QEvent::MouseMove, QPointF(2, 2), grp->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grp, &overGroup);
    EXPECT_EQ(colour(), QColor(Qt::black));
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(Opened().size(), 1u);
    EXPECT_EQ(Opened()[0], QUrl(QStringLiteral("https://support.example.com/kovra/")));
    about->accept();
}
