#include "HtmlExportRun.h"

#include "DocumentSlot.h"
#include "HtmlSetupDlg.h"
#include "MessageTexts.h"
#include "MkHtmlThread.h"
#include "ProgForm.h"
#include "Prompter.h"
#include "ShippedFiles.h"
#include "UserSettings.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

namespace kovra {

namespace {

std::string Utf8Path(const QString& path) { return QDir::fromNativeSeparators(path).toStdString(); }

} // namespace

struct HtmlExportController::Impl {
    Impl(DocumentSlot& slot, const services::TUserSettings& user) : document(slot), settings(user) {}
    DocumentSlot& document;
    const services::TUserSettings& settings;
    QPointer<QWidget> main;
    QPointer<THtmlSetupDlg> setup;
    QPointer<TProgForm> prog;
    TMkHtmlThread* thread = nullptr;
    DocumentSlot::RunLease lease; // held from the start to the end message
};

HtmlExportController::HtmlExportController(QWidget* mainWindow, DocumentSlot& document,
                                           const services::TUserSettings& settings,
                                           std::function<QString(const QString& current)> pickTemplate)
    : d(new Impl(document, settings))
{
    d->main = mainWindow;
    d->setup = new THtmlSetupDlg(mainWindow, std::move(pickTemplate));
    d->prog = new TProgForm(mainWindow);
    // The worker ends after the page it is writing, every page written
    // whole; its end message says how many there are.
    connect(d->prog, &TProgForm::StopRequested, this, [this] {
        if (d->thread)
            d->thread->requestStop();
    });
}

HtmlExportController::~HtmlExportController()
{
    if (d->thread) {
        // Normally unreachable (the main window does not close during a run),
        // but never leave a worker writing into freed state.  No events are
        // served here (that would run arbitrary handlers inside a
        // destructor): the stop drops the step the worker may be waiting
        // for, so it ends after the page it is writing.
        disconnect(d->thread, nullptr, this, nullptr);
        d->thread->requestStop();
        d->thread->wait();
        delete d->thread;
    }
    d->lease.Release();
    delete d->setup;
    delete d->prog;
    delete d;
}

bool HtmlExportController::Running() const { return static_cast<bool>(d->lease); }

void HtmlExportController::HtmlMenuClick(std::optional<std::vector<int>> only)
{
    if (Running() || d->document.InUseByRun() || d->document.Document()->ListingCount == 0 || (only && only->empty()))
        return;
    // A page that would replace the template, FieldList or the export file
    // is refused before the run starts, and the dialog comes back.
    for (;;) {
        if (d->setup->exec() != QDialog::Accepted)
            return;
        if (d->setup->templatePath().isEmpty() || d->setup->saveDir().isEmpty()) {
            Say(Tone::Error, msg::kParameterError, d->main);
            return;
        }
        const TListingDocument& shown = *d->document.Document();
        html::ExportJob pages;
        pages.listings = shown.ListingTable.data();
        pages.count = std::min<int>(shown.ListingCount, static_cast<int>(shown.ListingTable.size()));
        pages.only = only;
        pages.templatePath = Utf8Path(d->setup->templatePath());
        pages.outDir = Utf8Path(d->setup->saveDir());
        pages.fieldListPath = services::ShippedFile("FieldList");
        pages.exportFile = shown.CurrentFileName;
        const std::optional<std::string> clash = html::PageOverInput(pages);
        if (!clash)
            break;
        Say(Tone::Error, msg::OutputIsInput(*clash), d->main);
    }

    d->lease = d->document.BeginRun();
    const TListingDocument& data = d->lease.Document();
    d->prog->setListingCount(only ? static_cast<int>(only->size()) : data.ListingCount);
    d->prog->show();

    html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = std::min<int>(data.ListingCount, static_cast<int>(data.ListingTable.size()));
    job.only = std::move(only);
    job.kensakuNengappi = data.KensakuNengappi;
    // A copy: the settings dialog stays usable while the pages are written.
    job.user = services::UserProfileTexts(d->settings);
    job.templatePath = Utf8Path(d->setup->templatePath());
    job.outDir = Utf8Path(d->setup->saveDir());
    job.fieldListPath = services::ShippedFile("FieldList");
    job.exportFile = data.CurrentFileName;

    TMkHtmlThread::GuiSteps steps;
    // The steps run on this thread while the worker waits.  After a stop
    // request they show nothing and answer cancel.  Their boxes belong to
    // the progress window: it stays on top, and would hide a box that
    // belonged to the main window.
    steps.ReportFieldListError = [this] {
        if (!d->thread->stopRequested())
            Say(Tone::Error, msg::kFieldListError, d->prog);
    };
    steps.ConfirmOverwrite = [this](const QString& pageFileName) {
        if (d->thread->stopRequested())
            return Answer::Cancel;
        return CurrentPrompter().Ask({Tone::Warning, msg::AskOverwrite(pageFileName.toStdString()),
                                      Choices::YesCancelYesToAll, std::string(msg::kOverwriteTitle), d->prog});
    };
    steps.ShowProgressText = [this](int index, const QString& pageFileName) {
        d->prog->ProgressBar1->setValue(index + 1);
        d->prog->aboutlbl->setText(QString::fromUtf8(msg::kWritingPagePrefix.data()) + pageFileName);
    };
    d->thread = new TMkHtmlThread(std::move(job), this, std::move(steps));
    connect(d->thread, &QThread::finished, this, &HtmlExportController::ExportFinished);
    d->thread->start();
}

void HtmlExportController::ExportFinished()
{
    TMkHtmlThread* thread = d->thread;
    if (!thread)
        return;
    thread->wait();
    const html::ExportResult result = thread->result();
    d->thread = nullptr;
    delete thread;

    d->prog->CloseAfterRun();
    QApplication::beep();
    const std::string detail = html::DescribeResult(result);
    std::string text(msg::kExportFinished);
    if (!detail.empty())
        text += "\n\n" + detail;
    Say(detail.empty() ? Tone::Information : Tone::Warning, text, d->main);
    // Ended only now: the main window cannot close while the end message
    // is up.
    d->lease.Release();
}

} // namespace kovra
