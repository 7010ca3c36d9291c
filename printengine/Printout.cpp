#include "Printout.h"

#include "EngineJob.h"
#include "FileIO.h"
#include "Guarded.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "Printdlg.h"
#include "RenderJob.h"
#include "lumprn.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

namespace dorvex {

std::string JobNameOfFile(const std::string& utf8Path)
{
    return QFileInfo(QString::fromStdString(utf8Path)).fileName().toStdString();
}

TNowPrintingdlg::TNowPrintingdlg(TStartPrintDlg& startDlg, TEngineJob& job, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint)
    , startDlg_(startDlg)
    , job_(job)
{
    setWindowTitle(QStringLiteral("印刷"));
    setObjectName(QStringLiteral("TNowPrintingdlg"));
    setFont(QFont(SubstituteFace(QStringLiteral("ＭＳ ゴシック")), 10));
    auto* layout = new QVBoxLayout(this);
    PrintMessage = new QLabel(this);
    PrintMessage->setObjectName(QStringLiteral("PrintMessage"));
    PrintMessage->setAlignment(Qt::AlignCenter);
    PrintMessage->setWordWrap(true);
    PrintMessage->setMinimumHeight(2 * fontMetrics().height());
    PageMessage = new QLabel(this);
    PageMessage->setObjectName(QStringLiteral("PageMessage"));
    PageMessage->setAlignment(Qt::AlignCenter);
    CancelButton = new QPushButton(QStringLiteral("中止"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(PrintMessage);
    layout->addWidget(PageMessage);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    setMinimumWidth(280);
    connect(CancelButton, &QPushButton::clicked, this, &TNowPrintingdlg::CancelButtonClick);
    Timer = new QTimer(this);
    Timer->setInterval(500);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TNowPrintingdlg::PrintStart);
    Timer->start();
}

void TNowPrintingdlg::SetPageMessage(int sheet)
{
    PageMessage->setText(QString::fromStdString(msg::PrintingSheet(sheet)));
}

void TNowPrintingdlg::CancelButtonClick()
{
    if (!printing_) {
        // Nothing is being printed: the start failed, or the job has not
        // begun yet (then nothing will be, and the job counts as aborted).
        if (Timer->isActive()) {
            Timer->stop();
            job_.PrintCancelled = true;
        }
        done(QDialog::Rejected);
        return;
    }
    const kovra::Question question{Tone::Question, std::string(msg::kAskCancelPrinting), kovra::Choices::YesNo, {}, nullptr};
    if (kovra::CurrentPrompter().Ask(question) == kovra::Answer::Yes)
        job_.PrintCancelled = true;
}

void TNowPrintingdlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (printing_)
            CancelButtonClick();
        return; // Esc never closes the dialog by itself
    }
    QDialog::keyPressEvent(event);
}

void TNowPrintingdlg::reject()
{
    // The window's close box acts like the abort button.
    CancelButtonClick();
}

namespace {

void DiscardDocument(QPrinter& printer, QPainter& painter)
{
    printer.abort();
    painter.end();
    // A PDF has no spooler to discard the pages: remove the part written.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
}

// A PDF named as the destination is written to a temporary file beside it
// and replaces it only when the document is whole: an abort, a failed
// write (a full disk) or a job broken off leaves the file that was there
// and no half of a new one.  The printer names the temporary file while
// this lives.
class PdfThroughTempFile {
public:
    explicit PdfThroughTempFile(QPrinter& printer) : printer_(printer)
    {
        if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
            return;
        target_ = printer.outputFileName();
        QTemporaryFile temp(target_ + QStringLiteral(".XXXXXX"));
        temp.setAutoRemove(false);
        if (temp.open())
            temp_ = temp.fileName();
        printer.setOutputFileName(temp_);
    }
    ~PdfThroughTempFile()
    {
        if (target_.isEmpty())
            return;
        if (!temp_.isEmpty())
            QFile::remove(temp_);
        printer_.setOutputFileName(target_);
    }
    PdfThroughTempFile(const PdfThroughTempFile&) = delete;
    PdfThroughTempFile& operator=(const PdfThroughTempFile&) = delete;

    // The file named, empty when the pages go to a printer.
    const QString& target() const { return target_; }
    // False when the temporary file could not be made (a folder that takes no new file).
    bool ready() const { return target_.isEmpty() || !temp_.isEmpty(); }

    // After the document has ended: true when it was written whole and now
    // stands under the name chosen.  The PDF writer does not report failed
    // writes, so the document's last line tells.
    bool commit()
    {
        if (target_.isEmpty())
            return true;
        QFile written(temp_);
        if (!written.open(QIODevice::ReadOnly) || written.size() < 8 || !written.seek(written.size() - 8) ||
            !written.read(8).trimmed().endsWith("%%EOF") || !written.seek(0))
            return false;
        kovra::fileio::SafeSaveFile out(target_.toStdString());
        if (!out.open())
            return false;
        QByteArray chunk;
        while (!(chunk = written.read(1 << 20)).isEmpty())
            if (!out.write(std::string_view(chunk.constData(), std::size_t(chunk.size()))))
                return false;
        return !written.error() && out.commit();
    }

private:
    QPrinter& printer_;
    QString target_;
    QString temp_;
};

// The process's QPrinter as the job's printer.
class QPrinterJobPrinter : public JobPrinter {
public:
    int paperCode() override { return ThePrinterSettings().GetPrinterPaper(); }
    void setUserSize(int length, int width) override
    {
        ThePrinterSettings().SetPrinterUserSize(int16_t(std::min(length, 32767)), int16_t(std::min(width, 32767)));
    }
    void clearUserSize() override { ThePrinterSettings().ClearPrinterUserSize(); }
    bool landscape() override { return PrinterLandscape(); }
    int horzSizeMm() override { return PrinterHorzSizeMm(); }
    int vertSizeMm() override { return PrinterVertSizeMm(); }
    double dpiX() override { return PrinterLogPixelsX(); }
    double dpiY() override { return PrinterLogPixelsY(); }
    QPagedPaintDevice& device() override { return ThePrinter(); }
    void beforeDocument() override { ThePrinterSettings().SetPrinterTrueType(1); }
};

} // namespace

void TNowPrintingdlg::PrintStart()
{
    Timer->stop();
    TEngineJob& job = job_;
    QPrinter& printer = ThePrinter();

    JobRange range;
    range.highest = startDlg_.MaxPage();
    if (startDlg_.RangeGiven()) {
        range.given = true;
        range.from = startDlg_.FromPage();
        range.to = startDlg_.ToPage();
    }
    job.PageRangeGiven = range.given;
    job.PagesLeft = range.given ? range.to - range.from + 1 : range.highest;

    DeviceJobHooks hooks;
    hooks.sheetStarted = [this, &job](int sheet) {
        job.SheetsPrinted = sheet;
        SetPageMessage(sheet);
    };
    hooks.cancelled = [&job]() {
        // Let the abort button and Esc act between pages.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return job.PrintCancelled;
    };
    QPrinterJobPrinter jobPrinter;
    QPainter painter;
    PdfThroughTempFile pdf(printer);
    printing_ = true;
    JobOutcome outcome = JobOutcome::StartFailed;
    // Runs from the timer inside the dialog's event loop: nothing may be
    // thrown through it.
    const bool ran = RunGuarded([&] {
        // The files were read when the job began (ScalPrintJob); a job
        // started here without them reads them now.
        if (!job.dataFile.isOpen() && !job.openFiles())
            outcome = JobOutcome::StartFailed;
        else
            outcome = pdf.ready() ? RunPrintJob(job, jobPrinter, painter, range, hooks) : JobOutcome::CannotBegin;
    });
    printing_ = false;
    job.formatFile.close(); // the job has done with them
    job.dataFile.close();
    if (!ran) {
        // Broken off (and said): the document begun is thrown away, and the
        // call reports that nothing was printed.
        job.StartFailed = true;
        if (painter.isActive())
            DiscardDocument(printer, painter);
        done(QDialog::Rejected);
        return;
    }
    switch (outcome) {
    case JobOutcome::StartFailed:
        job.StartFailed = true;
        return; // the dialog stays until its button is pressed
    case JobOutcome::CannotBegin:
        Say(Tone::Error, pdf.target().isEmpty() ? std::string(msg::kCannotStartPrinting)
                                                : msg::FileCannotCreate(pdf.target().toStdString()));
        job.StartFailed = true;
        break;
    case JobOutcome::Cancelled:
        DiscardDocument(printer, painter);
        break;
    case JobOutcome::Printed:
        painter.end();
        if (!pdf.commit()) {
            Say(Tone::Error, msg::FileCannotCreate(pdf.target().toStdString()));
            job.StartFailed = true;
        }
        break;
    }
    done(QDialog::Accepted);
}

int16_t ScalPrintJob(TEngineJob& job, const std::string& message, int32_t paperCode, int32_t orientation,
                     bool showDialog)
{
    EnsureLibraryStarted();
    job.PrintCancelled = job.StartFailed = false;
    job.SheetsPrinted = 0;
    // A job whose files cannot be read (missing, unnamed, too large) ends
    // with that message: no print dialog to choose pages of nothing, no
    // progress dialog waiting to be aborted.  Read now, the files are the
    // ones printed, whatever happens to them while the dialog is open.
    if (!job.openFiles()) {
        job.StartFailed = true;
        return 0;
    }
    int16_t result = -1;
    if (paperCode > 0)
        ThePrinterSettings().SetPrinterPaper(int16_t(std::min(paperCode, int32_t(32767))));
    SetPrinterLandscape(orientation == 1);

    // A PDF file without a name (no printer was installed when the last
    // choice was made) gives way to a printer installed since.
    if (ThePrinterIsPdf() && ThePrinter().outputFileName().isEmpty())
        ThePrinterSettings().SelectDefaultPrinter();
    TStartPrintDlg startDlg;
    startDlg.SetJobFiles(job.inputFiles());
    startDlg.SetPages(CountPagesOf(job.dataFile));
    // With no printer and no PDF file named yet, printing without the dialog
    // would print nothing: the dialog is shown to choose the file.
    const bool noDestination = ThePrinterIsPdf() && ThePrinter().outputFileName().isEmpty();
    bool go = true;
    if (showDialog || noDestination) {
        KeepAboveActiveWindow(startDlg);
        go = startDlg.Execute();
    }
    if (go) {
        // The name the print queue shows (and the PDF's title).
        ThePrinter().setDocName(QString::fromStdString(job.JobName));
        TNowPrintingdlg dlg(startDlg, job);
        KeepAboveActiveWindow(dlg);
        dlg.PrintMessage->setText(QString::fromStdString(message));
        dlg.exec();
        // The file named in the dialog: say where the job went.
        if (!job.PrintCancelled && !job.StartFailed && !startDlg.PdfFile().isEmpty())
            Say(Tone::Information, msg::PdfWritten(QDir::toNativeSeparators(startDlg.PdfFile()).toStdString()));
    }
    job.formatFile.close();
    job.dataFile.close();
    // A cancelled dialog goes back to the default printer; so does a PDF
    // file named in the dialog, which takes this job only: the next one
    // prints on the printer, or asks again rather than write over it unasked.
    if (!go || !startDlg.PdfFile().isEmpty())
        ThePrinterSettings().SelectDefaultPrinter();
    if (!startDlg.PdfFile().isEmpty() && ThePrinterIsPdf())
        ThePrinter().setOutputFileName(QString());
    if (job.PrintCancelled || !go || job.StartFailed)
        result = 0;
    return result;
}

int16_t ScalPrintUtf8(const std::string& formatFile, const std::string& dataFile, const std::string& message,
                      int32_t paperCode, int32_t orientation, int32_t topMargin, int32_t leftMargin, bool printForm,
                      bool showDialog, const std::string& jobName)
{
    TEngineJob job(formatFile, dataFile);
    job.JobName = jobName.empty() ? JobNameOfFile(dataFile) : jobName;
    job.CallerTopMargin = topMargin;
    job.CallerLeftMargin = leftMargin;
    job.PrintFormatPages = printForm;
    return ScalPrintJob(job, message, paperCode, orientation, showDialog);
}

} // namespace dorvex
