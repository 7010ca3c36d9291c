#include "HtmlExportRun.h"

#include "HtmlRunHooks.h"
#include "HtmlSetupDlg.h"
#include "ListingTable.h"
#include "MkHtmlThread.h"
#include "ProgForm.h"
#include "UserSettings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace kovra {

namespace {

bool g_running = false; // written on the GUI thread only

QString boxTitle() { return QGuiApplication::applicationDisplayName(); }

HtmlRunHooks DefaultHooks()
{
    HtmlRunHooks h;
    h.runSetupDialog = [](THtmlSetupDlg& dlg) { return dlg.exec() == QDialog::Accepted; };
    h.showError = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Critical, boxTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    };
    h.askOverwrite = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), text, QMessageBox::NoButton, parent);
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        QPushButton* all = box.addButton(QStringLiteral("すべてはい(&A)"), QMessageBox::YesRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == yes)
            return OverwriteChoice::Yes;
        if (box.clickedButton() == all)
            return OverwriteChoice::YesToAll;
        return OverwriteChoice::Cancel;
    };
    h.askYesNo = [](QWidget* parent, const QString& text) {
        QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, parent);
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    };
    h.showFinished = [](QWidget* parent, const QString& text, bool plain) {
        QMessageBox box(plain ? QMessageBox::Information : QMessageBox::Warning, boxTitle(), text, QMessageBox::Ok,
                        parent);
        box.exec();
    };
    h.pickFolder = [](QWidget* parent, const QString& start) { return PickFolderDialog(parent, start); };
    return h;
}

html::UserTexts ProfileTexts(const TUserProfile& p)
{
    return {p.Name.toStdString(), p.Yubin.toStdString(), p.Jyusyo.toStdString(), p.Tel.toStdString(),
            p.Fax.toStdString(),  p.Email.toStdString(), p.Hp.toStdString()};
}

TUserProfile CurrentProfile()
{
#ifdef KOVRA_HAVE_SETTINGS
    return Settings().UserProfile;
#else
    return TUserProfile{};
#endif
}

std::string Utf8Path(const QString& path) { return QDir::fromNativeSeparators(path).toStdString(); }

} // namespace

HtmlRunHooks& RunHooks()
{
    static HtmlRunHooks hooks = DefaultHooks();
    return hooks;
}

void ResetRunHooks() { RunHooks() = DefaultHooks(); }

bool HtmlExportRunning() { return g_running; }

struct HtmlExportController::Impl {
    QPointer<QWidget> main;
    QPointer<THtmlSetupDlg> setup;
    QPointer<TProgForm> prog;
    TMkHtmlThread* thread = nullptr;
};

HtmlExportController::HtmlExportController(QWidget* mainWindow, std::function<QString()> pickTemplate)
    : d(new Impl)
{
    d->main = mainWindow;
    d->setup = new THtmlSetupDlg(mainWindow, std::move(pickTemplate));
    d->prog = new TProgForm(mainWindow);
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
        g_running = false;
    }
    delete d->setup;
    delete d->prog;
    delete d;
}

void HtmlExportController::HtmlMenuClick()
{
    ListingData& data = Listings();
    if (g_running || data.ListingCount == 0)
        return;
    HtmlRunHooks& hooks = RunHooks();
    if (!hooks.runSetupDialog(*d->setup))
        return;
    if (d->setup->templatePath().isEmpty() || d->setup->saveDir().isEmpty()) {
        hooks.showError(d->main, QStringLiteral("パラメーターにエラーがあります"));
        return;
    }

    g_running = true;
    d->prog->setListingCount(data.ListingCount);
    d->prog->show();
    emit runningChanged(true);

    html::ExportJob job;
    job.listings = data.ListingTable.data();
    job.count = std::min<int>(data.ListingCount, static_cast<int>(data.ListingTable.size()));
    job.kensakuNengappi = data.KensakuNengappi;
    // A copy: the settings dialog stays usable while the pages are written.
    job.user = ProfileTexts(CurrentProfile());
    job.templatePath = Utf8Path(d->setup->templatePath());
    job.outDir = Utf8Path(d->setup->saveDir());
    job.fieldListPath = Utf8Path(hooks.fieldListPath.isEmpty()
                                     ? QCoreApplication::applicationDirPath() + QStringLiteral("/FieldList")
                                     : hooks.fieldListPath);

    TMkHtmlThread::GuiSteps steps;
    // The steps run on this thread while the worker waits.  After a stop
    // request they show nothing and answer cancel.  Their boxes belong to
    // the progress window: it stays on top, and would hide a box that
    // belonged to the main window.
    steps.ReportFieldListError = [this] {
        if (!d->thread->stopRequested())
            RunHooks().showError(d->prog, QStringLiteral("FieldListにエラーがあります"));
    };
    steps.ConfirmOverwrite = [this](const QString& pageFileName) {
        if (d->thread->stopRequested())
            return OverwriteChoice::Cancel;
        const QString text = pageFileName + QStringLiteral("\n\r\n\r") +
                             QStringLiteral("同じ名前のファイルがあります。上書きしますか？");
        return RunHooks().askOverwrite(d->prog, text);
    };
    steps.ShowProgressText = [this](int index, const QString& pageFileName) {
        d->prog->ProgressBar1->setValue(index + 1);
        d->prog->aboutlbl->setText(QStringLiteral("作成中: ") + pageFileName);
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

    d->prog->close();
    QApplication::beep();
    const std::string detail = html::DescribeResult(result);
    QString text = QStringLiteral("処理が終了しました");
    if (!detail.empty())
        text += QStringLiteral("\n\n") + QString::fromStdString(detail);
    RunHooks().showFinished(d->main, text, detail.empty());
    // Cleared only now: the main window cannot close while the end message
    // is up.
    g_running = false;
    emit runningChanged(false);
}

} // namespace kovra
