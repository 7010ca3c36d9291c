// The main window's commands: the other windows it opens, its file dialogs,
// the stripped save, the report and HTML commands, settings and help.
#include "MainForm.h"
#include "MainFormSupport.h"

#include "AboutBox.h"
#include "KvSetDlg.h"
#include "ListingBrowser.h"
#include "SeparationForm.h"

#include "DialogFilters.h"
#include "FileDialogLook.h"
#include "HtmlExportRun.h"
#include "MemberStrip.h"
#include "MessageTexts.h"
#include "OpenDocument.h"
#include "ProgressWindow.h"
#include "Prompter.h"
#include "ShippedFiles.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace kovra {

// ---------------------------------------------------------------- windows

void TMainForm::AttachWindows(TAboutBox* about, TKvSetDlg* setDlg, TSeparationForm* separation)
{
    aboutBox_ = about;
    setDlg_ = setDlg;
    separation_ = separation;
}

TSeparationForm* TMainForm::SeparationForm()
{
    if (!separation_)
        separation_ = new TSeparationForm(this);
    return separation_;
}

TKvSetDlg* TMainForm::KvSetDlg()
{
    if (!setDlg_)
        setDlg_ = new TKvSetDlg(settings_, this);
    return setDlg_;
}

TAboutBox* TMainForm::AboutBox()
{
    if (!aboutBox_)
        aboutBox_ = new TAboutBox(this);
    return aboutBox_;
}

// ---------------------------------------------------------------- file dialogs

QFileDialog* TMainForm::OpenDialog()
{
    if (!openDialog_) {
        openDialog_ = new QFileDialog(this);
        openDialog_->setObjectName(QStringLiteral("OpenDialog"));
        openDialog_->setFileMode(QFileDialog::ExistingFile);
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
        MakeFileDialogJapanese(*openDialog_);
        openDialog_->setNameFilters(services::OpenDialogFilters());
    }
    return openDialog_;
}

QString TMainForm::runOpenDialog()
{
    QFileDialog* d = OpenDialog();
    d->selectFile(QString());
    d->selectNameFilter(services::OpenDialogFilters().at(static_cast<int>(services::OpenFilter::Text)));
    if (d->exec() != QDialog::Accepted)
        return {};
    return d->selectedFiles().value(0);
}

QString TMainForm::pickHtmlTemplate(const QString& current)
{
    QFileDialog* d = OpenDialog();
    // At the template chosen before, not where the last file was opened.
    if (!current.isEmpty()) {
        const QFileInfo chosen(current);
        d->setDirectory(chosen.absolutePath());
        d->selectFile(chosen.fileName());
    } else {
        d->selectFile(QString());
    }
    d->selectNameFilter(services::OpenDialogFilters().at(static_cast<int>(services::OpenFilter::Html)));
    if (d->exec() != QDialog::Accepted)
        return {};
    return d->selectedFiles().value(0);
}

void TMainForm::SetOpenFileChooser(std::function<QString()> chooser) { openChooser_ = std::move(chooser); }
void TMainForm::SetSaveFileChooser(std::function<QString()> chooser) { saveChooser_ = std::move(chooser); }

// ---------------------------------------------------------------- commands

void TMainForm::SaveMemberDelClick()
{
    const TListingDocument& data = shown();
    if (data.ListingCount == 0)
        return;
    // The loaded file itself is refused and the dialog comes back.
    for (;;) {
        const QString target = saveChooser_ ? saveChooser_() : runSaveDialog();
        if (target.isEmpty())
            return;
        StripOutcome out;
        const bool finished = RunWithProgress(this, QStringLiteral("会員項目を削除して保存しています..."),
                                              [&](WorkProgress& progress) {
                                                  out = SaveMemberStripped(data.CurrentFileName, u8(target), &progress);
                                              });
        if (!finished && !out.ok)
            return; // stopped: nothing written, nothing to say
        if (!out.ok)
            Say(Tone::Error, out.message, this);
        if (!out.outputIsInput)
            return;
    }
}

QString TMainForm::runSaveDialog()
{
    QFileDialog d(this);
    d.setObjectName(QStringLiteral("SaveDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    MakeFileDialogJapanese(d);
    d.setNameFilter(services::StrippedSaveFilter());
    d.setDefaultSuffix(services::StrippedSaveSuffix());
    d.setOption(QFileDialog::DontConfirmOverwrite, false);
    d.setSizeGripEnabled(true);
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

void TMainForm::PrintMenuClick()
{
    if (listingCount() == 0)
        return;
    // The report dialog connects here (report printing).
    emit PrintRequested();
}

void TMainForm::ToolPreViewBtnClick()
{
    if (listingCount() == 0)
        return;
    // The preview of the listing on show connects here (report printing).
    emit PreviewRequested();
}

void TMainForm::HTMLH1Click() { htmlController_->HtmlMenuClick(); }

TListingBrowser* TMainForm::ListingBrowser()
{
    if (browser_)
        return browser_;
    browser_ = new TListingBrowser(document_, settings_, reportEngine_, this);
    connect(browser_, &TListingBrowser::ListingChosen, this, [this](int number) {
        if (number != ShownListingNumber() || number < 1)
            stepTo(number);
    });
    connect(this, &TMainForm::ListingShown, browser_, &TListingBrowser::ShowNumber);
    connect(browser_, &TListingBrowser::PrintRequested, this, [this] {
        if (listingCount() > 0)
            emit FoundPrintRequested();
    });
    connect(browser_, &TListingBrowser::HtmlRequested, this,
            [this](const std::vector<int>& listings) { htmlController_->HtmlMenuClick(listings); });
    connect(browser_, &TListingBrowser::CompareRequested, this, &TMainForm::CompareMenuClick);
    browser_->AttachChanges(changes_);
    browser_->AttachArchive(archive_);
    return browser_;
}

std::optional<std::vector<int>> TMainForm::FoundInBrowser() const
{
    return browser_ ? browser_->Found() : std::nullopt;
}

void TMainForm::BrowserMenuClick()
{
    TListingBrowser* b = ListingBrowser();
    b->show();
    b->raise();
    b->activateWindow();
    b->ShowNumber(ShownListingNumber());
}

void TMainForm::ExitMenuClick() { close(); }

void TMainForm::KvSetupDlgMenuClick()
{
    if (KvSetDlg()->exec() == QDialog::Accepted)
        ApplyMemberVisibility();
}

void TMainForm::ChildMenuClick()
{
    TSeparationForm* f = SeparationForm();
    f->show();
    f->raise();
    f->activateWindow();
}

void TMainForm::SupportMenuClick() { CurrentPrompter().OpenWithShell(kSupportPageUrl); }

void TMainForm::ReadDocMenuClick()
{
    const std::string cache = u8(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    const QUrl document = QUrl::fromLocalFile(q(services::ReadableReadme(cache)));
    CurrentPrompter().OpenWithShell(document.toEncoded().toStdString());
}

void TMainForm::aboutClick() { AboutBox()->exec(); }

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The export's worker reads the table: no closing until its end message.
    if (document_.InUseByRun()) {
        event->ignore();
        Say(Tone::Information, msg::kCannotCloseWhileExporting, this);
    } else {
        event->accept();
    }
}

} // namespace kovra
