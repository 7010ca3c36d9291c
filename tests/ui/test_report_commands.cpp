// The report commands of the main window: the preview of the listing on
// show, the report dialog's choices, and what reaches the print engine.
#include "MainForm.h"
#include "PdfPages.h"
#include "PrintTool.h"
#include "ProgramWindows.h"
#include "ReportRun.h"
#include "UiTestSupport.h"
#include "MessageTexts.h"
#include "UserSettings.h"

#include "Cp932Codec.h"
#include "Printdlg.h"
#include "Printout.h"
#include "lumprn.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

namespace kovra::testing {
namespace {

// What one hand-over to the engine saw.
struct EngineCall {
    bool print = false;
    bool dialog = false;
    int pages = 0;
    QString firstLine;
    QString formatFile;
    QString dataFile;
};

class ReportCommandsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(tmp_.path()); // where the data file went before it had a folder of its own
        std::vector<Columns> listings;
        for (int n = 1; n <= 10; ++n)
            listings.push_back(SaleListing(n));
        file_ = WriteListingFile(tmp_.path(), QStringLiteral("ten.txt"), listings);
        const auto record = [this](bool print) {
            const PrintToolSettings& s = TPrintTool::Settings();
            QFile f(QString::fromStdString(s.dataFileName));
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromStdString(cp932::toUtf8(f.readAll().toStdString()));
            const QStringList lines = text.split(QStringLiteral("\r\n"));
            EngineCall call{print, s.showPrintDialog != 0, static_cast<int>(lines.count(QStringLiteral("E"))) + 1,
                            lines.value(0), QString::fromStdString(s.formatFileName),
                            QString::fromStdString(s.dataFileName)};
            calls_.push_back(call);
        };
        engine_ = {[record] { record(true); return true; }, [record] { record(false); }};
    }
    void TearDown() override
    {
        QDir::setCurrent(previousDir_);
        UiTest::TearDown();
    }

    QString file_;
    QString previousDir_;
    std::vector<EngineCall> calls_;
    ReportEngine engine_; // what the windows made by the test print with
};

// Guards the preview command: one page, the listing on show, numbered by its
// position in the file, with the print dialog on for printing from the preview.
TEST_F(ReportCommandsTest, PreviewCommandShowsTheListingOnShow)
{
    ProgramWindows w = CreateProgramWindows(file_, engine_);
    for (int i = 0; i < 3; ++i)
        w.MainForm->NextDataViewBtnClick();
    ASSERT_EQ(w.MainForm->ShownListingNumber(), 4);
    w.MainForm->ToolPreViewBtnClick();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_FALSE(calls_[0].print);
    EXPECT_TRUE(calls_[0].dialog);
    EXPECT_EQ(calls_[0].pages, 1);
    EXPECT_TRUE(calls_[0].firstLine.startsWith(QStringLiteral("T1940;160;4;"))) << calls_[0].firstLine.toStdString();
    EXPECT_TRUE(calls_[0].formatFile.endsWith(QStringLiteral("KvReport.FOM")));
    // The data file was the job's own and went with the preview.
    EXPECT_TRUE(calls_[0].dataFile.endsWith(QStringLiteral("/KvReport.tmp"))) << calls_[0].dataFile.toStdString();
    EXPECT_FALSE(QFile::exists(calls_[0].dataFile));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(calls_[0].dataFile).path()));
    EXPECT_FALSE(QFile::exists(QDir(tmp_.path()).filePath(QStringLiteral("KvReport.tmp"))));
}

// Guards characters the report cannot print: the viewer names them once
// per report, before the engine starts, as `kovra report` does.
TEST_F(ReportCommandsTest, CharactersTheReportCannotPrintAreNamedOnce)
{
    ProgramWindows w = CreateProgramWindows(file_, engine_); // reads the settings
    w.Settings->UserProfile.Name = "山田😀";
    w.Settings->UserProfile.Jyusyo = "𠮷野町😀";
    w.MainForm->ToolPreViewBtnClick();
    ASSERT_EQ(calls_.size(), 1u);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].icon, Tone::Warning);
    EXPECT_EQ(messages_[0].text.toStdString(), msg::CharactersNotPrinted("𠮷😀"));
}

// Guards the dialog: all listings previewed, printed without the dialog, and
// the choice kept for the next opening; Cancel does nothing.
TEST_F(ReportCommandsTest, DialogChoicesReachTheEngine)
{
    ProgramWindows w = CreateProgramWindows(file_, engine_);
    TReportSupDlg* dlg = w.ReportSupDlg;
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->RadioPrnSetupIndex(), 0);

    QTimer::singleShot(0, dlg, [dlg] {
        dlg->RadioAll->setChecked(true);
        dlg->PreBtn->click();
    });
    w.MainForm->PrintMenuClick();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_FALSE(calls_[0].print);
    EXPECT_EQ(calls_[0].pages, 10);
    EXPECT_EQ(dlg->result(), TReportSupDlg::kPreviewResult);

    QTimer::singleShot(0, dlg, [dlg] { dlg->OKBtn->click(); });
    w.MainForm->PrintMenuClick();
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_TRUE(calls_[1].print);
    EXPECT_FALSE(calls_[1].dialog) << "printing from the report never shows the print dialog";
    EXPECT_EQ(calls_[1].pages, 10) << "the all-listings choice was kept";

    QTimer::singleShot(0, dlg, [dlg] { dlg->CancelBtn->click(); });
    w.MainForm->PrintMenuClick();
    EXPECT_EQ(calls_.size(), 2u);
}

// Guards the whole print path: all listings through the print job onto a
// PDF printer, no dialog, one sheet per listing with the shipped form.
TEST_F(ReportCommandsTest, AllListingsPrintOntoPdfWithoutDialog)
{
    const QString pdf = Path(QStringLiteral("report.pdf"));
    QPrinter& printer = dorvex::ThePrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setFullPage(true);
    printer.setResolution(150);
    bool dialogAsked = true;
    engine_ = {[&] {
                         const PrintToolSettings& s = TPrintTool::Settings();
                         dialogAsked = s.showPrintDialog != 0;
                         return dorvex::ScalPrintUtf8(s.formatFileName, s.dataFileName, s.printingMessage, s.paperCode,
                                                      s.orientation, s.topMargin, s.leftMargin, s.printForm != 0,
                                                      s.showPrintDialog != 0) != 0;
                     },
                     {}};
    ProgramWindows w = CreateProgramWindows(file_, engine_);
    TReportSupDlg* dlg = w.ReportSupDlg;
    QTimer::singleShot(0, dlg, [dlg] {
        dlg->RadioAll->setChecked(true);
        dlg->OKBtn->click();
    });
    w.MainForm->PrintMenuClick();
    EXPECT_FALSE(dialogAsked);
    EXPECT_EQ(PdfPageCount(pdf), 10);
}

// Guards printing with no printer installed: "印刷開始" reaches the print
// dialog, which offers a PDF file; the file named there holds every page.
TEST_F(ReportCommandsTest, AllListingsPrintThroughTheDialogOntoAPdfWithoutPrinter)
{
    const QString pdf = Path(QStringLiteral("報告書.pdf"));
    QPrinter& printer = dorvex::ThePrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString()); // how the engine sets up without a printer
    printer.setFullPage(true);
    printer.setResolution(150);
    engine_ = {[] {
                         const PrintToolSettings& s = TPrintTool::Settings();
                         return dorvex::ScalPrintUtf8(s.formatFileName, s.dataFileName, s.printingMessage, s.paperCode,
                                                      s.orientation, s.topMargin, s.leftMargin, s.printForm != 0,
                                                      s.showPrintDialog != 0) != 0;
                     },
                     {}};
    QString destination;
    prompter_->windowShown = [&](QWidget& window) {
        auto* dlg = qobject_cast<dorvex::TStartPrintDlg*>(&window);
        if (!dlg)
            return; // the report dialog, the progress dialog
        destination = dlg->DestinationBox->currentText();
        dlg->FileNameBox->setText(pdf);
        dlg->OKBtn->click();
    };
    ProgramWindows w = CreateProgramWindows(file_, engine_);
    TReportSupDlg* dlg = w.ReportSupDlg;
    QTimer::singleShot(0, dlg, [dlg] {
        dlg->RadioAll->setChecked(true);
        dlg->OKBtn->click();
    });
    w.MainForm->PrintMenuClick();
    EXPECT_EQ(destination, QStringLiteral("PDF ファイル"));
    EXPECT_EQ(PdfPageCount(pdf), 10);
}

// Guards the empty state: with nothing loaded neither command opens anything.
TEST_F(ReportCommandsTest, NothingLoadedNothingHappens)
{
    ProgramWindows w = CreateProgramWindows(QString(), engine_);
    bool dialogShown = false;
    QTimer::singleShot(50, w.ReportSupDlg, [&] {
        dialogShown = w.ReportSupDlg->isVisible();
        w.ReportSupDlg->reject();
    });
    w.MainForm->PrintMenuClick();
    w.MainForm->ToolPreViewBtnClick();
    QTest::qWait(100);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(calls_.empty());
    EXPECT_TRUE(messages_.empty());
}

} // namespace
} // namespace kovra::testing
