// The library's windows under the offscreen platform: the print job onto a
// PDF printer, the preview window and the format file editor.
#include "PdfPages.h"
#include <gtest/gtest.h>

#include "Cp932Codec.h"
#include "EditFile.h"
#include "EngineApp.h"
#include "EngineJob.h"
#include "HostileFiles.h"
#include "Imagedsp.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "EnginePrompter.h"
#include "Printdlg.h"
#include "Printout.h"
#include "ScriptedPrompter.h"
#include "lumprn.h"

#include <QAction>
#include <QComboBox>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <functional>
#include <memory>

using namespace dorvex;

using kovra::testing::PdfPageCount;

namespace {

// As on a machine without printers, whatever this one has (the printer
// tests have a CUPS server of their own).
[[maybe_unused]] ::testing::Environment* const kApp = ::testing::AddGlobalTestEnvironment(
    new dorvex::test::EngineAppEnvironment("/nonexistent/kovra-no-printers.sock"));

std::string Write(QTemporaryDir& dir, const char* name, const std::vector<std::string>& lines)
{
    std::string utf8;
    for (const auto& l : lines)
        utf8 += l + "\r\n";
    const std::string bytes = cp932::fromUtf8(utf8);
    QFile f(dir.filePath(QString::fromUtf8(name)));
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), qint64(bytes.size()));
    return f.fileName().toStdString();
}

// Data pages with their number as text; format pages with a coloured box
// (page 1 red at the top left, page 2 blue at the bottom right).
std::vector<std::string> DataPages(int n)
{
    std::vector<std::string> lines;
    for (int p = 1; p <= n; ++p) {
        lines.push_back("T300;300;DATA " + std::to_string(p) + ";ＭＳ ゴシック;24;;0;1;");
        if (p < n)
            lines.push_back("E");
    }
    return lines;
}

const std::vector<std::string> kTwoPageForm = {"F0;0;500;500;9;", "E", "F1400;2200;1900;2700;11;"};
const std::vector<std::string> kOnePageForm = {"B0;0;1900;2700;5;0;0;14;1;"};

// A page of the PDF as an image (poppler's pdftoppm); null without it.
QImage PdfPage(const QString& pdf, int page, QTemporaryDir& dir)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        return {};
    const QString out = dir.filePath(QStringLiteral("page%1").arg(page));
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-f"),
                                                   QString::number(page), QStringLiteral("-l"), QString::number(page),
                                                   QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, out});
    return QImage(out + QStringLiteral(".png"));
}

// Runs `act` once, between two pages of the running job.
void WhilePrinting(std::function<void(TNowPrintingdlg&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act]() {
        TNowPrintingdlg* d = kovra::testing::TopLevelWindow<TNowPrintingdlg>();
        if (d && d->Printing()) {
            timer->stop();
            timer->deleteLater();
            act(*d);
        }
    });
    timer->start();
}

// Runs `act` once `ready` holds, polling the event loop (modal dialogs).
void When(std::function<bool()> ready, std::function<void()> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, act]() {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            act();
        }
    });
    timer->start();
}

bool Near(QRgb p, QColor c) { return std::abs(qRed(p) - c.red()) < 60 && std::abs(qGreen(p) - c.green()) < 60 && std::abs(qBlue(p) - c.blue()) < 60; }

class Job : public ::testing::Test {
protected:
    void SetUp() override
    {
        prompter.answer = [this](const kovra::Question& q) {
            if (q.choices == kovra::Choices::Ok) {
                messages.push_back(q.text);
                return kovra::Answer::Ok;
            }
            questions.push_back(q.text);
            return answer;
        };
        pdf = dir.filePath(QStringLiteral("job.pdf"));
        QPrinter& p = ThePrinter();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setFullPage(true);
        p.setResolution(150);
    }
    QTemporaryDir dir;
    QString pdf;
    std::vector<std::string> messages, questions;
    kovra::Answer answer = kovra::Answer::Yes;
    kovra::testing::ScriptedPrompter prompter;
    // Drives the preview window once it runs.
    void OnPreview(std::function<void(TImageDispForm&)> drive)
    {
        prompter.windowShown = [drive](QWidget& window) {
            if (auto* form = qobject_cast<TImageDispForm*>(&window))
                drive(*form);
        };
    }
};

} // namespace

// Guards the job without dialog: three sheets, form under each data page.
TEST_F(Job, OnePageFormThreeDataPages)
{
    TEngineJob job(Write(dir, "f.fom", kOnePageForm), Write(dir, "d.dat", DataPages(3)));
    job.PrintFormatPages = true;
    EXPECT_EQ(ScalPrintJob(job, "印刷します", 9, 0, false), -1);
    EXPECT_EQ(PdfPageCount(pdf), 3);
    EXPECT_EQ(job.SheetsPrinted, 3);
    EXPECT_TRUE(messages.empty());
}

// Guards cycling forms and the closing form page, read back from the PDF.
TEST_F(Job, TwoPageFormThreeDataPagesGivesFourSheets)
{
    const auto fom = Write(dir, "f.fom", kTwoPageForm), dat = Write(dir, "d.dat", DataPages(3));
    QString pageMessage;
    WhilePrinting([&](TNowPrintingdlg& d) { pageMessage = d.PageMessage->text(); });
    EXPECT_EQ(ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, false), -1);
    EXPECT_EQ(PdfPageCount(pdf), 4);
    EXPECT_EQ(pageMessage, QStringLiteral("(2ﾍﾟｰｼﾞ印刷中)"));
    QImage last = PdfPage(pdf, 4, dir);
    if (last.isNull())
        GTEST_SKIP() << "pdftoppm not installed";
    // Sheet 4 carries format page 2 alone: the blue box at the lower right.
    EXPECT_TRUE(Near(last.pixel(last.width() * 80 / 100, last.height() * 85 / 100), Qt::blue));
    EXPECT_TRUE(Near(last.pixel(last.width() * 8 / 100, last.height() * 5 / 100), Qt::white));
    QImage first = PdfPage(pdf, 1, dir);
    EXPECT_TRUE(Near(first.pixel(first.width() * 8 / 100, first.height() * 5 / 100), Qt::red));
}

// Guards the page range 2-3: two sheets, the form cycling, no closing page.
TEST_F(Job, PageRangeTwoToThree)
{
    const auto fom = Write(dir, "f.fom", kTwoPageForm), dat = Write(dir, "d.dat", DataPages(3));
    When([]() { return qobject_cast<TStartPrintDlg*>(QApplication::activeModalWidget()) != nullptr; }, []() {
        auto* dlg = qobject_cast<TStartPrintDlg*>(QApplication::activeModalWidget());
        dlg->RangeButton->setChecked(true);
        dlg->FromBox->setValue(2);
        dlg->ToBox->setValue(3);
        dlg->OKBtn->click();
    });
    EXPECT_EQ(ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, true), -1);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    QImage first = PdfPage(pdf, 1, dir), second = PdfPage(pdf, 2, dir);
    if (first.isNull())
        GTEST_SKIP() << "pdftoppm not installed";
    EXPECT_TRUE(Near(first.pixel(first.width() * 80 / 100, first.height() * 85 / 100), Qt::blue)) << "form page 2";
    EXPECT_TRUE(Near(second.pixel(second.width() * 8 / 100, second.height() * 5 / 100), Qt::red)) << "form page 1";
}

// Guards the abort: confirmed stops the job (result 0, no PDF left);
// declined lets it run to its end.
TEST_F(Job, AbortConfirmedAndDeclined)
{
    const auto fom = Write(dir, "f.fom", kOnePageForm), dat = Write(dir, "d.dat", DataPages(5));
    WhilePrinting([](TNowPrintingdlg& d) { d.CancelButton->click(); });
    EXPECT_EQ(ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, false), 0);
    EXPECT_EQ(questions, std::vector<std::string>{"印刷を中止してよろしいですか?"});
    EXPECT_FALSE(QFileInfo::exists(pdf));

    answer = kovra::Answer::No;
    WhilePrinting([](TNowPrintingdlg& d) { d.CancelButton->click(); });
    EXPECT_EQ(ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, false), -1);
    EXPECT_EQ(PdfPageCount(pdf), 5);
}

// Guards the PDF named: only a whole document replaces it.  A write that
// fails (a full disk) is no success, and neither that nor an abort leaves
// half a file or loses the file that was there.
TEST_F(Job, ThePdfIsReplacedOnlyByAWholeDocument)
{
    const auto fom = Write(dir, "f.fom", kOnePageForm), dat = Write(dir, "d.dat", DataPages(5));
    struct Case { const char* what; bool diskFull; std::size_t messages; };
    for (const Case& c : {Case{"disk full", true, 1}, Case{"aborted", false, 0}}) {
        SCOPED_TRACE(c.what);
        {
            QFile old(pdf);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        messages.clear();
        answer = kovra::Answer::Yes;
        if (!c.diskFull)
            WhilePrinting([](TNowPrintingdlg& d) { d.CancelButton->click(); });
        int16_t result = 0;
        {
            kovra::test::DiskFullAfter full(c.diskFull ? 2000 : std::uint64_t(1) << 40);
            if (c.diskFull && !full.active())
                GTEST_SKIP() << "no file-size limit here";
            result = ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, false);
        }
        EXPECT_EQ(result, 0);
        EXPECT_EQ(messages.size(), c.messages);
        QFile kept(pdf);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << "no temporary file left";
    }
}

// Guards the abort pressed before the first page: nothing printed, result 0.
TEST_F(Job, AbortBeforeTheStart)
{
    const auto dat = Write(dir, "d.dat", DataPages(2));
    QTimer::singleShot(0, []() { kovra::testing::TopLevelWindow<TNowPrintingdlg>()->CancelButton->click(); });
    EXPECT_EQ(ScalPrintUtf8("", dat, "", 9, 0, 0, 0, true, false), 0);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

// Guards a job whose files cannot be read (missing, unnamed, too large): it
// ends after the one message, result 0 (not "printed"), without the print
// dialog or the progress dialog, even when the dialog was asked for.
TEST_F(Job, RefusedFilesEndTheJob)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    const std::string none = dir.filePath(QStringLiteral("none.fom")).toStdString();
    const std::string huge = dir.filePath(QStringLiteral("huge.dat")).toStdString();
    {
        QFile big(QString::fromStdString(huge)); // sparse: no disk space taken
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize((qint64(1) << 30) + 1));
    }
    struct Case { std::string fom, dat, message; };
    const Case cases[] = {{none, dat, "\"" + none + "\"が見つかりません!"},
                          {"", none, "\"" + none + "\"が見つかりません!"},
                          {"", "", "印刷ﾃﾞｰﾀﾌｧｲﾙの指定がありません!"},
                          {"", huge, "ファイル " + huge + " は大きすぎる"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages.clear();
        questions.clear();
        int windows = 0; // any dialog that opens is counted and closed
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&windows]() {
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++windows;
                open->reject();
            }
        });
        guard.start(20);
        EXPECT_EQ(ScalPrintUtf8(c.fom, c.dat, "", 9, 0, 0, 0, true, true), 0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
        EXPECT_EQ(windows, 0);
        EXPECT_TRUE(questions.empty());
        EXPECT_FALSE(QFileInfo::exists(pdf));
    }
}

// Guards printing with no printer: the job without the dialog still asks
// where to (a PDF file), prints all pages there, and asks again next time;
// a file that exists is written over only when the user agrees, and a name
// in a folder that is not there is refused with a message.  The name the box
// proposes is selected, so typing replaces it; a PDF written is named.
TEST_F(Job, WithoutPrinterTheDialogAsksForThePdfFile)
{
    const auto dat = Write(dir, "d.dat", DataPages(3));
    struct Case { const char* what; const char* name; bool exists; kovra::Answer overwrite; bool printed; int pagesInFile; };
    const Case cases[] = {{"new file", "選んだ", false, kovra::Answer::Yes, true, 3},
                          {"existing, written over", "選んだ", true, kovra::Answer::Yes, true, 3},
                          {"existing, kept", "選んだ", true, kovra::Answer::No, false, 0},
                          {"no such folder", "無い/選んだ", false, kovra::Answer::Yes, false, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString chosen = dir.filePath(QString::fromUtf8(c.name));
        QFile::remove(chosen + QStringLiteral(".pdf"));
        if (c.exists) {
            QFile f(chosen + QStringLiteral(".pdf"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        ThePrinter().setOutputFileName(QString()); // as set up with no printer installed
        answer = c.overwrite;
        questions.clear();
        messages.clear();
        QStringList offered;
        bool okWithoutName = true;
        QString proposed, typed;
        prompter.windowShown = [&](QWidget& w) {
            auto* dlg = qobject_cast<TStartPrintDlg*>(&w);
            if (!dlg)
                return; // the progress dialog
            for (int i = 0; i < dlg->DestinationBox->count(); ++i)
                offered << dlg->DestinationBox->itemText(i);
            proposed = dlg->FileNameBox->text();
            QTest::keyClick(dlg->FileNameBox, Qt::Key_Z);
            typed = dlg->FileNameBox->text();
            dlg->FileNameBox->clear();
            okWithoutName = dlg->OKBtn->isEnabled();
            dlg->FileNameBox->setText(chosen); // ".pdf" is added
            dlg->OKBtn->click();
            if (dlg->isVisible()) // kept: the dialog stays until cancelled
                dlg->CancelBtn->click();
        };
        const int16_t result = ScalPrintUtf8("", dat, "", 9, 0, 0, 0, true, false);
        EXPECT_EQ(offered.last(), QStringLiteral("PDF ファイル"));
        EXPECT_FALSE(okWithoutName);
        EXPECT_EQ(questions.size(), c.exists ? 1u : 0u);
        if (!proposed.isEmpty()) {
            EXPECT_EQ(typed, QStringLiteral("z")) << "typing adds to " << proposed.toStdString();
        }
        EXPECT_EQ(messages.size(), c.exists && !c.printed ? 0u : 1u);
        if (c.printed && !messages.empty()) {
            EXPECT_EQ(messages.back(), kovra::msg::PdfWritten(QDir::toNativeSeparators(chosen + QStringLiteral(".pdf")).toStdString()));
        }
        EXPECT_EQ(result, c.printed ? -1 : 0);
        EXPECT_EQ(PdfPageCount(chosen + QStringLiteral(".pdf")), c.pagesInFile);
        EXPECT_TRUE(ThePrinter().outputFileName().isEmpty()) << "the next job asks again";
    }
}

// Guards the job's own files: a PDF named as the format file, the data
// file or an image one of them draws is refused in the dialog (it would be
// written over while the job reads it), and the file is left as it was.
TEST_F(Job, ThePdfIsNeverOneOfTheJobsFiles)
{
    enum class Input { Data, Format, Image };
    struct Case { const char* what; Input pdf; };
    for (const Case& c : {Case{"data file", Input::Data}, Case{"format file", Input::Format}, Case{"image", Input::Image}}) {
        SCOPED_TRACE(c.what);
        const auto image = Write(dir, c.pdf == Input::Image ? "図.pdf" : "図.bmp", {"not a picture"});
        std::vector<std::string> form = kOnePageForm;
        form.push_back("I10;10;100;100;" + image + ";");
        const auto format = Write(dir, c.pdf == Input::Format ? "様式.pdf" : "様式.txt", form);
        const auto data = Write(dir, c.pdf == Input::Data ? "入力.pdf" : "d.dat", DataPages(2));
        const QString input = QString::fromStdString(c.pdf == Input::Format ? format : c.pdf == Input::Data ? data : image);
        QFile before(input);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        ThePrinter().setOutputFileName(QString());
        answer = kovra::Answer::Yes;
        messages.clear();
        prompter.windowShown = [&](QWidget& w) {
            auto* dlg = qobject_cast<TStartPrintDlg*>(&w);
            if (!dlg)
                return; // the progress dialog
            dlg->FileNameBox->setText(input);
            dlg->OKBtn->click();
            if (dlg->isVisible())
                dlg->CancelBtn->click();
        };
        EXPECT_EQ(ScalPrintUtf8(format, data, "", 9, 0, 0, 0, true, false), 0);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], kovra::msg::OutputIsInput(QDir::toNativeSeparators(input).toStdString()));
        QFile after(input);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
    }
}

// Guards the caption of the library's own boxes: the program's one name,
// never the file name of the program that loaded the library.
TEST(EngineBoxes, CaptionedWithTheProgramsName)
{
    QString title;
    QTimer::singleShot(0, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            title = box->windowTitle();
            box->close();
        }
    });
    kovra::Question box;
    box.tone = kovra::Tone::Error;
    box.text = "保存するフォルダー x がありません。";
    EnginePrompter().Ask(box);
    EXPECT_EQ(title.toStdString(), kovra::msg::kApplicationTitle);
}

// Guards the file box: a relative name lies in the base folder, ".pdf" is
// added when missing, a blank name names nothing.
TEST(PrintDialog, PdfPathFromTheFileBox)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"  ", ""}, {"report", "/base/report.pdf"}, {" sub/a.pdf ", "/base/sub/a.pdf"},
        {"/tmp/x.PDF", "/tmp/x.PDF"}, {"/tmp/x.txt", "/tmp/x.txt.pdf"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(PdfPathFromBox(QString::fromUtf8(typed), QStringLiteral("/base")), QString::fromUtf8(expected)) << typed;
}

// Guards the destinations: every installed printer, and a PDF file always
// last; the file box only for the PDF file, the copies only for a printer.
TEST(PrintDialog, PrintersThenPdfFile)
{
    struct Case { QStringList printers; };
    for (const Case& c : {Case{{}}, Case{{QStringLiteral("事務所"), QStringLiteral("2F")}}}) {
        TStartPrintDlg dlg(c.printers);
        ASSERT_EQ(dlg.DestinationBox->count(), c.printers.size() + 1);
        EXPECT_EQ(dlg.DestinationBox->itemText(int(c.printers.size())), QStringLiteral("PDF ファイル"));
        for (int i = 0; i < dlg.DestinationBox->count(); ++i) {
            dlg.DestinationBox->setCurrentIndex(i);
            EXPECT_EQ(dlg.FileNameBox->isEnabled(), i == c.printers.size());
            EXPECT_EQ(dlg.CopiesBox->isEnabled(), i != c.printers.size()) << "a PDF is written once";
        }
    }
}

// Guards the print job's and the preview's windows being children of the
// caller's active window: that window destroyed while they run took the
// running window (a stack object of the call) with it.
TEST_F(Job, CallersWindowDestroyedWhileTheEngineRuns)
{
    const auto dat = Write(dir, "d.dat", DataPages(3));
    const std::pair<const char*, std::function<void(QWidget*&)>> cases[] = {
        {"print job", [&](QWidget*& owner) {
             WhilePrinting([&owner](TNowPrintingdlg&) { delete std::exchange(owner, nullptr); });
             EXPECT_EQ(ScalPrintUtf8("", dat, "", 9, 0, 0, 0, true, false), -1);
             EXPECT_EQ(PdfPageCount(pdf), 3);
         }},
        {"preview", [&](QWidget*& owner) {
             OnPreview([&owner](TImageDispForm& f) {
                 delete std::exchange(owner, nullptr);
                 f.CloseButtonClick();
             });
             PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
         }},
    };
    for (const auto& [engine, run] : cases) {
        SCOPED_TRACE(engine);
        QWidget* owner = new QWidget;
        owner->show();
        QApplication::setActiveWindow(owner);
        run(owner);
        EXPECT_EQ(owner, nullptr) << "the window went while the engine ran";
    }
}

// ---- preview ----

class PreviewWindow : public Job {};

// Guards the preview's page and zoom controls, jumps and full screen; saves
// screenshots at 100 % and 50 %.
TEST_F(PreviewWindow, ControlsAndScreenshots)
{
    const auto fom = Write(dir, "f.fom", kTwoPageForm), dat = Write(dir, "d.dat", DataPages(5));
    std::vector<std::optional<std::string>> answers = {"0", "99", "abc",
                                                   std::nullopt};
    std::size_t nextAnswer = 0;
    prompter.text = [&](const kovra::TextQuestion&) { return answers[nextAnswer++]; };
    bool ran = false;
    OnPreview([&](TImageDispForm& f) {
        ran = true;
        f.resize(900, 1000);
        QApplication::processEvents();
        EXPECT_EQ(f.WherePage->text(), QStringLiteral("1/6"));
        EXPECT_FALSE(f.PrevPage->isEnabled());
        EXPECT_TRUE(f.NextPage->isEnabled());
        f.grab().save(QDir::temp().filePath(QStringLiteral("kovra-preview-100.png")));

        for (int i = 0; i < 5; ++i)
            f.NextPage->trigger();
        EXPECT_EQ(f.WherePage->text(), QStringLiteral("6/6"));
        EXPECT_FALSE(f.NextPage->isEnabled());
        EXPECT_TRUE(f.PrevPage->isEnabled());
        f.PrevPage->trigger();
        EXPECT_EQ(f.Job().CurrentPage, 5);

        f.ZoomOutButton->trigger();
        EXPECT_EQ(f.DispZoom->text(), QStringLiteral(" 90%"));
        for (QAction* a : f.ZoomMenuItems)
            EXPECT_FALSE(a->isChecked()) << a->text().toStdString();
        f.ZoomOutButton->trigger();
        EXPECT_EQ(f.DispZoom->text(), QStringLiteral(" 80%"));
        EXPECT_TRUE(f.ZoomMenuItems[3]->isChecked());
        f.MenuZoomClick(5);
        EXPECT_EQ(f.DispZoom->text(), QStringLiteral(" 50%"));
        QApplication::processEvents();
        f.grab().save(QDir::temp().filePath(QStringLiteral("kovra-preview-50.png")));
        for (int i = 0; i < 5; ++i)
            f.ZoomOutButton->trigger();
        EXPECT_EQ(f.Preview().ZoomTenths, 3);
        EXPECT_FALSE(f.ZoomOutButton->isEnabled());
        f.MenuZoomClick(20);
        EXPECT_FALSE(f.ZoomInButton->isEnabled());
        EXPECT_EQ(f.DispZoom->text(), QStringLiteral("200%"));

        const int expected[] = {1, 6, 6, 1}; // 0, 99, letters keep 6, cancel = "1"
        for (int want : expected) {
            f.Selected_PageClick();
            EXPECT_EQ(f.Job().CurrentPage, want);
        }
        EXPECT_FALSE(f.PrevPage->isEnabled());

        const QRect before = f.geometry();
        f.FullScreen_MenuClick();
        EXPECT_TRUE(f.ESCButton->isVisible());
        EXPECT_FALSE(f.SpeedBar->isVisible());
        EXPECT_TRUE(f.Jump_Menu->menuAction()->isVisible());
        EXPECT_FALSE(f.File_Menu->menuAction()->isVisible());
        QTest::keyClick(&f, Qt::Key_Escape);
        EXPECT_FALSE(f.ESCButton->isVisible());
        EXPECT_TRUE(f.SpeedBar->isVisible());
        EXPECT_EQ(f.geometry().size(), before.size());
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", fom, dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(messages.empty());
}

// Guards full screen from the menu: the preview keeps running (its call has
// not returned and the window stays on screen and answers), and ESC brings
// back the size and position it had, keeping the page and the scroll
// position.  Each step runs from the event loop.
TEST_F(PreviewWindow, FullScreenKeepsThePreviewRunning)
{
    const auto dat = Write(dir, "d.dat", DataPages(3));
    bool returned = false;
    std::vector<std::string> steps;
    OnPreview([&](TImageDispForm& f) {
        f.setGeometry(60, 50, 640, 480);
        f.MenuZoomClick(20); // a page larger than the screen: it scrolls both ways
        QApplication::processEvents();
        const QRect before = f.geometry();
        QTimer::singleShot(0, &f, [&f] { f.FullScreenMenuItem->trigger(); });
        QTimer::singleShot(200, &f, [&, before] {
            steps.push_back("full screen");
            EXPECT_FALSE(returned);
            EXPECT_TRUE(f.isVisible());
            EXPECT_TRUE(f.isFullScreen());
            EXPECT_TRUE(f.ESCButton->isVisible());
            EXPECT_FALSE(f.SpeedBar->isVisible());
            EXPECT_TRUE(f.Jump_Menu->menuAction()->isVisible());
            f.NextPage->trigger(); // the window still answers
            EXPECT_EQ(f.WherePage->text(), QStringLiteral("2/3"));
            f.ImagePaintScrollBox->horizontalScrollBar()->setValue(40);
            f.ImagePaintScrollBox->verticalScrollBar()->setValue(300);
            QTest::keyClick(&f, Qt::Key_Escape);
            QTimer::singleShot(200, &f, [&, before] {
                steps.push_back("back");
                EXPECT_FALSE(returned);
                EXPECT_TRUE(f.isVisible());
                EXPECT_FALSE(f.isFullScreen());
                EXPECT_FALSE(f.ESCButton->isVisible());
                EXPECT_TRUE(f.SpeedBar->isVisible());
                EXPECT_EQ(f.geometry(), before);
                // The page and the place on it where the user was.
                EXPECT_EQ(f.WherePage->text(), QStringLiteral("2/3"));
                EXPECT_EQ(f.ImagePaintScrollBox->horizontalScrollBar()->value(), 40);
                EXPECT_EQ(f.ImagePaintScrollBox->verticalScrollBar()->value(), 300);
                f.CloseButtonClick();
            });
        });
    });
    PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    returned = true;
    EXPECT_EQ(steps, (std::vector<std::string>{"full screen", "back"}));
}

// Guards the page box holding six digits on either side of the slash: the
// text's ink spans its whole width, nothing cut off at the left.
TEST_F(PreviewWindow, PageBoxHoldsSixDigits)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    int inkWidth = 0, textWidth = 0;
    OnPreview([&](TImageDispForm& f) {
        f.WherePage->setText(QStringLiteral("100000/100000"));
        QApplication::processEvents();
        textWidth = f.WherePage->fontMetrics().horizontalAdvance(f.WherePage->text());
        const QImage box = f.WherePage->grab().toImage();
        const QRect inside = f.WherePage->rect().adjusted(3, 3, -3, -3); // within the frame
        int left = box.width(), right = -1;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (qGray(box.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        inkWidth = right - left + 1;
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    ASSERT_GT(textWidth, 0);
    EXPECT_GE(inkWidth, textWidth - 4) << "digits cut off";
}

// Guards the wheel: one step moves the page by 40 pixels, down for a turn
// towards the user and up for one away, wherever over the page it turns.
TEST_F(PreviewWindow, WheelScrollsFortyPixels)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    struct Case { const char* over; int delta; int from; int to; };
    const Case cases[] = {{"page", -120, 0, 40}, {"page", 120, 100, 60}, {"scroll bar", -120, 100, 140},
                          {"page", -15, 0, 40}}; // a fine-grained wheel: one step too
    OnPreview([&](TImageDispForm& f) {
        f.MenuZoomClick(20); // a page taller than the window
        f.resize(600, 500);
        QApplication::processEvents();
        QScrollBar* v = f.ImagePaintScrollBox->verticalScrollBar();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.over) + " " + std::to_string(c.delta));
            v->setValue(c.from);
            // (A synthetic wheel event does not travel up from the page to
            // the scroll area's viewport as the mouse's does: sent there.)
            QWidget* target = std::string(c.over) == "page" ? f.ImagePaintScrollBox->viewport() : static_cast<QWidget*>(v);
            const QPointF at(5, 5);
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, c.delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
            EXPECT_EQ(v->value(), c.to);
        }
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
}

// Guards the sheet with the whole paper printable (a PDF file, as with no
// printer installed): its black border of 2 pixels and the dotted blue frame
// of the printable area inside it both show.
TEST_F(PreviewWindow, SheetBorderAndPrintableFrameShowWithoutPrinter)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    QImage sheet;
    QRect area;
    OnPreview([&](TImageDispForm& f) {
        f.MenuZoomClick(5);
        QApplication::processEvents();
        sheet = f.PaperPanel->grab().toImage();
        area = f.ImagePaintBox->geometry();
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    ASSERT_FALSE(sheet.isNull());
    EXPECT_TRUE(QRect(QPoint(2, 2), sheet.size() - QSize(4, 4)).contains(area)) << "the area inside the border";
    const int midY = sheet.height() / 2, midX = sheet.width() / 2;
    for (const QPoint border : {QPoint(0, midY), QPoint(1, midY), QPoint(sheet.width() - 1, midY), QPoint(midX, 0),
                                QPoint(midX, sheet.height() - 2)})
        EXPECT_TRUE(Near(sheet.pixel(border), Qt::black)) << border.x() << "," << border.y();
    int blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        blue += Near(sheet.pixel(area.left(), y), Qt::blue);
    EXPECT_GT(blue, area.height() / 4) << "dotted frame on the area's left edge";
}

// Guards the tool bar's icons: each is a picture of the shipped set (none
// missing), and no two buttons look alike.
TEST_F(PreviewWindow, ToolBarIconsAreShippedAndDistinct)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    std::vector<std::pair<std::string, QImage>> icons;
    OnPreview([&](TImageDispForm& f) {
        for (QAction* a : {f.CloseButton, f.PrintSetupButton, f.PrintButton, f.ZoomInButton, f.ZoomOutButton,
                           f.PrevPage, f.NextPage})
            icons.emplace_back(a->toolTip().toStdString(), a->icon().pixmap(22, 22).toImage());
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    ASSERT_EQ(icons.size(), 7u);
    for (std::size_t i = 0; i < icons.size(); ++i) {
        EXPECT_EQ(icons[i].second.size(), QSize(22, 22)) << icons[i].first;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(icons[i].second, icons[j].second) << icons[i].first << " / " << icons[j].first;
    }
}

// Pictures for the eye, written to the build folder: the print dialog as
// it opens with no printer, the preview with its tool bar, at full screen
// and back.  Guards that each lays out and paints (the pictures themselves
// are looked at by a person; under an X server the screen is taken too).
TEST_F(PreviewWindow, PicturesForTheEye)
{
    const auto fom = Write(dir, "f.fom", kOnePageForm), dat = Write(dir, "d.dat", DataPages(3));
    const QString out = QStringLiteral(KOVRA_BUILD_DIR "/");
    const auto save = [&out](QWidget& w, const char* name) {
        QApplication::processEvents();
        QTest::qWait(300);
        EXPECT_TRUE(w.grab().save(out + QString::fromUtf8(name) + QStringLiteral(".png"))) << name;
        if (QApplication::platformName() != QLatin1String("offscreen") && w.screen())
            w.screen()->grabWindow(0).save(out + QString::fromUtf8(name) + QStringLiteral("-screen.png"));
    };
    ThePrinter().setOutputFileName(QString());
    prompter.windowShown = [&](QWidget& w) {
        if (auto* dlg = qobject_cast<TStartPrintDlg*>(&w)) {
            save(*dlg, "print_dialog");
            dlg->CancelBtn->click();
        }
    };
    EXPECT_EQ(ScalPrintUtf8(fom, dat, "", 9, 0, 0, 0, true, true), 0);

    std::vector<std::string> steps;
    OnPreview([&](TImageDispForm& f) {
        f.setGeometry(40, 40, 760, 620);
        save(f, "preview");
        save(*f.SpeedBar, "preview_toolbar");
        f.FullScreenMenuItem->trigger();
        QTimer::singleShot(300, &f, [&] {
            save(f, "preview_full_screen");
            f.ESCButton->click();
            QTimer::singleShot(300, &f, [&] {
                save(f, "preview_back");
                steps.push_back("back");
                f.CloseButtonClick();
            });
        });
    });
    PrintImageDispUtf8("KovraViewer Report", fom, dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    EXPECT_EQ(steps.size(), 1u);
}

// Guards printing from the preview with the preview's flags (form off,
// no dialog): the data pages alone reach the printer.
TEST_F(PreviewWindow, PrintUsesThePreviewFlags)
{
    const auto fom = Write(dir, "f.fom", kTwoPageForm), dat = Write(dir, "d.dat", DataPages(3));
    OnPreview([&](TImageDispForm& f) {
        f.PrintButtonClick();
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", fom, dat, 9, 0, 0, 0, -1, -1, 0, 0, false, false);
    EXPECT_EQ(PdfPageCount(pdf), 3) << "no closing form page without the form";
    QImage first = PdfPage(pdf, 1, dir);
    if (first.isNull())
        GTEST_SKIP() << "pdftoppm not installed";
    EXPECT_TRUE(Near(first.pixel(first.width() * 8 / 100, first.height() * 5 / 100), Qt::white)) << "no form";
}

// Guards a one-page job and a missing data file said once, not in a loop.
TEST_F(PreviewWindow, OnePageAndMissingData)
{
    const auto dat = Write(dir, "d.dat", DataPages(1));
    OnPreview([&](TImageDispForm& f) {
        EXPECT_EQ(f.WherePage->text(), QStringLiteral("1/1"));
        EXPECT_FALSE(f.PrevPage->isEnabled());
        EXPECT_FALSE(f.NextPage->isEnabled());
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("KovraViewer Report", "", dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    const std::string none = dir.filePath(QStringLiteral("none.dat")).toStdString();
    OnPreview([&](TImageDispForm& f) {
        for (int i = 0; i < 5; ++i) {
            f.DrawNow();
            QApplication::processEvents();
        }
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", "", none, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "\"" + none + "\"が見つかりません!"), 1);
}

// Guards the preview reading its files once: with both gone from the disk
// after it opened, turning pages, scrolling, zooming and repainting still
// show the job, and nothing is said.
TEST_F(PreviewWindow, KeepsItsFilesBetweenPaints)
{
    const auto fom = Write(dir, "f.fom", kTwoPageForm), dat = Write(dir, "d.dat", DataPages(3));
    int blue = 0;
    OnPreview([&](TImageDispForm& f) {
        f.resize(900, 700);
        QApplication::processEvents();
        QFile::remove(QString::fromStdString(fom));
        QFile::remove(QString::fromStdString(dat));
        f.DispNext();
        f.FormMouseWheel(-120);
        f.ZoomOutButtonClick();
        QApplication::processEvents();
        EXPECT_EQ(f.WherePage->text(), QStringLiteral("2/4"));
        const QImage page = f.ImagePaintBox->grab().toImage(); // form page 2: a blue box
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                blue += Near(page.pixel(x, y), Qt::blue);
        f.CloseButtonClick();
    });
    PrintImageDispUtf8("", fom, dat, 9, 0, 0, 0, -1, -1, 0, 0, true, true);
    EXPECT_GT(blue, 1000);
    EXPECT_TRUE(messages.empty());
}

// ---- editor ----

class Editor : public Job {
protected:
    void SetUp() override
    {
        Job::SetUp();
        // Windows an earlier test left open would be taken for the new one.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFomEditor*>(w))
                w->hide();
        prompter.file = [this](const kovra::FileQuestion& q) {
            dialogs.push_back({q.kind == kovra::FileQuestion::Kind::Save, QString::fromStdString(q.preset)});
            std::optional<QString> a = fileAnswers.empty() ? std::nullopt : fileAnswers.front();
            if (!fileAnswers.empty())
                fileAnswers.erase(fileAnswers.begin());
            return a ? std::optional<std::string>(a->toStdString()) : std::nullopt;
        };
    }
    TFomEditor* Last()
    {
        TFomEditor* last = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* e = qobject_cast<TFomEditor*>(w); e && e->isVisible())
                last = e;
        return last;
    }
    std::vector<std::pair<bool, QString>> dialogs;
    std::vector<std::optional<QString>> fileAnswers;
};

// Guards the untitled window, the question with the full path, Cancel and
// No, and Save As asking again for "無題.fom".
TEST_F(Editor, UntitledNewAndSaveAs)
{
    StartEditFileUtf8("", kUntitledName);
    TFomEditor* ed = Last();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->windowTitle(), QStringLiteral("無題.fom"));
    EXPECT_TRUE(ed->Memo1->toPlainText().isEmpty());
    QTest::keyClicks(ed->Memo1, QStringLiteral("T"));
    answer = kovra::Answer::Cancel;
    ed->New1Click();
    EXPECT_EQ(questions.back(), "無題.fomは変更されています. 保存しますか?");
    EXPECT_EQ(ed->Memo1->toPlainText(), QStringLiteral("T"));
    answer = kovra::Answer::No;
    ed->New1Click();
    EXPECT_TRUE(ed->Memo1->toPlainText().isEmpty());

    ed->Memo1->setPlainText(QStringLiteral("T100;200;表;\nE"));
    const QString target = dir.filePath(QStringLiteral("saved"));
    fileAnswers = {dir.filePath(QStringLiteral("無題.fom")), target};
    EXPECT_TRUE(ed->Save1Click());
    EXPECT_EQ(dialogs.size(), 2u) << "the untitled name is asked again";
    EXPECT_EQ(ed->windowTitle(), QStringLiteral("saved"));
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), cp932::fromUtf8("T100;200;表;\r\nE\r\n"));
    ed->grab().save(QDir::temp().filePath(QStringLiteral("kovra-editor.png")));
    ed->Exit1Click();
}

// Guards opening an existing file (caption = name only, nothing asked on
// close), a failed save keeping the text modified, and the Edit menu.
TEST_F(Editor, ExistingFileFailedSaveEditMenu)
{
    const auto fom = Write(dir, "form.fom", {"M100;100;", "B0;0;10;10;"});
    StartEditFileUtf8(fom, "");
    TFomEditor* ed = Last();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->windowTitle(), QStringLiteral("form.fom"));
    EXPECT_EQ(ed->Memo1->toPlainText(), QStringLiteral("M100;100;\nB0;0;10;10;"));
    ed->EditClick();
    EXPECT_FALSE(ed->Copy1->isEnabled());
    EXPECT_FALSE(ed->Cut1->isEnabled());
    EXPECT_FALSE(ed->Delete1->isEnabled());
    ed->Memo1->selectAll();
    ed->EditClick();
    EXPECT_TRUE(ed->Copy1->isEnabled());
    EXPECT_TRUE(ed->close());
    EXPECT_TRUE(questions.empty());

    ed->Memo1->appendPlainText(QStringLiteral("E"));
    ed->EditFileName = dir.filePath(QStringLiteral("no/such/dir/x.fom"));
    EXPECT_FALSE(ed->Save1Click());
    EXPECT_TRUE(ed->Memo1->document()->isModified());
    EXPECT_EQ(messages.back(), "ファイル " + ed->EditFileName.toStdString() + " を作成できません");
    ed->Memo1->document()->setModified(false);
    ed->Exit1Click();

    StartEditFileUtf8(dir.filePath(QStringLiteral("none.fom")).toStdString(), "");
    EXPECT_EQ(messages.back(), "\"" + dir.filePath(QStringLiteral("none.fom")).toStdString() + "\"が見つかりません!");
}

// Guards a failed save behind "…は変更されています. 保存しますか?" → Yes
// letting the close, new, open or exit go on: the window, its text and its
// modified mark stay, and the failure is said.
TEST_F(Editor, FailedSaveBehindTheQuestionKeepsTheText)
{
    const auto fom = Write(dir, "form.fom", {"B0;0;10;10;"});
    const QString unwritable = dir.filePath(QStringLiteral("no/such/dir/form.fom"));
    struct Case {
        const char* command;
        std::function<void(TFomEditor&)> run;
    };
    const Case cases[] = {
        {"close box", [](TFomEditor& e) { EXPECT_FALSE(e.close()); }},
        {"新規作成", [](TFomEditor& e) { e.New1Click(); }},
        {"開く", [](TFomEditor& e) { e.Open1Click(); }},
        {"終了", [](TFomEditor& e) { e.Exit1Click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        StartEditFileUtf8(fom, "");
        TFomEditor* ed = Last();
        ASSERT_NE(ed, nullptr);
        ed->Memo1->appendPlainText(QStringLiteral("E"));
        ed->EditFileName = unwritable; // the file's folder went away meanwhile
        answer = kovra::Answer::Yes;
        messages.clear();
        dialogs.clear();
        fileAnswers = {QString::fromStdString(fom)};
        c.run(*ed);
        QApplication::processEvents(); // a deleteLater from 終了 would act here
        ASSERT_EQ(Last(), ed) << "the window stays";
        EXPECT_TRUE(ed->isVisible());
        EXPECT_EQ(ed->Memo1->toPlainText(), QStringLiteral("B0;0;10;10;\nE"));
        EXPECT_TRUE(ed->Memo1->document()->isModified());
        EXPECT_EQ(ed->EditFileName, unwritable);
        EXPECT_TRUE(dialogs.empty()) << "no file is asked for after the failure";
        EXPECT_EQ(messages, std::vector<std::string>{"ファイル " + unwritable.toStdString() + " を作成できません"});
        ed->Memo1->document()->setModified(false);
        ed->Exit1Click();
        QApplication::processEvents();
    }
    // No name chosen for an untitled text is no failure: New goes on unsaved.
    StartEditFileUtf8("", kUntitledName);
    TFomEditor* ed = Last();
    ASSERT_NE(ed, nullptr);
    QTest::keyClicks(ed->Memo1, QStringLiteral("T"));
    messages.clear();
    fileAnswers = {std::nullopt};
    ed->New1Click();
    EXPECT_TRUE(ed->Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(messages.empty());
    ed->Exit1Click();
}

// Guards an editor save that replaces a symbolic link by a plain file or
// drops the file's permission bits.
TEST_F(Editor, SaveKeepsPermissionsAndWritesThroughALink)
{
    const QFileDevice::Permissions rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    struct Case {
        const char* name;
        const char* link; // "" when the file itself is opened
        QFileDevice::Permissions permissions;
    };
    const Case cases[] = {
        {"plain.fom", "", rw | QFileDevice::ReadGroup},
        {"script.fom", "", rw | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther},
        {"target.fom", "link.fom", rw}, // a link relative to its folder
    };
    const QFileDevice::Permissions bits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString target = QString::fromStdString(Write(dir, c.name, {"B0;0;10;10;"}));
        ASSERT_TRUE(QFile::setPermissions(target, c.permissions));
        QString opened = target;
        if (*c.link) {
            opened = dir.filePath(QString::fromUtf8(c.link));
            std::error_code ec;
            std::filesystem::create_symlink(c.name, opened.toStdString(), ec);
            ASSERT_FALSE(ec) << ec.message();
        }
        StartEditFileUtf8(opened.toStdString(), "");
        TFomEditor* ed = Last();
        ASSERT_NE(ed, nullptr);
        ed->Memo1->appendPlainText(QStringLiteral("E"));
        EXPECT_TRUE(ed->Save1Click());
        EXPECT_EQ(QFileInfo(opened).isSymLink(), *c.link != 0);
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().toStdString(), "B0;0;10;10;\r\nE\r\n");
        EXPECT_EQ(QFile::permissions(target) & bits, c.permissions);
        ed->Exit1Click();
        QApplication::processEvents();
    }
    EXPECT_TRUE(messages.empty());
}
