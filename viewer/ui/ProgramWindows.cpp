#include "ProgramWindows.h"

#include "AboutBox.h"
#include "ArchiveLink.h"
#include "ChangeView.h"
#include "KvSetDlg.h"
#include "MainForm.h"
#include "OpenDocument.h"
#include "ProgramFonts.h"
#include "SeparationForm.h"
#include "UserSettings.h"
#include "WindowPrompter.h"

#include "QtJapanese.h"

#include <QApplication>

namespace kovra {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() = default;

void SetUpApplication()
{
    // No application display name: the platform would append it to every
    // window title ("ダイアログ — Kovra Viewer"); the titles are exact, and the
    // message boxes name "Kovra Viewer" themselves.
    SetUpJapaneseFonts();
    // Every message box and question of the program shows the viewer's
    // windows (`kovra` and the tests answer differently).
    SetPrompter(&WindowPrompter());
    // The file dialogs and the buttons of the message boxes come from Qt.
    InstallQtJapanese();
}

ProgramWindows CreateProgramWindows(const QString& fileArgument, ReportEngine reportEngine)
{
    ProgramWindows w;
    w.Settings = std::make_unique<services::TUserSettings>();
    w.Document = std::make_unique<TOpenDocument>();
    w.Changes = std::make_unique<TChangeView>(*w.Document);
    w.MainForm = std::make_unique<TMainForm>(*w.Settings, *w.Document, fileArgument, nullptr, reportEngine);
    w.MainForm->AttachChanges(w.Changes.get());
    w.Archive = std::make_unique<TArchiveLink>(*w.Settings, *w.Document);
    w.MainForm->AttachArchive(w.Archive.get());
    w.AboutBox = new TAboutBox(w.MainForm.get());
    TMainForm* main = w.MainForm.get();
    const ReportContext report{w.Document->Slot(), *w.Settings, [main] { return main->ShownListingNumber(); },
                               [main] { return main->FoundInBrowser(); }, std::move(reportEngine)};
    w.ReportSupDlg = new TReportSupDlg(main, report);
    // The main window raises its report commands only while listings are loaded.
    QObject::connect(main, &TMainForm::PrintRequested, w.ReportSupDlg, [dlg = w.ReportSupDlg] { dlg->exec(); });
    QObject::connect(main, &TMainForm::FoundPrintRequested, w.ReportSupDlg, [dlg = w.ReportSupDlg] {
        dlg->SetRadioPrnSetupIndex(2);
        dlg->exec();
    });
    QObject::connect(main, &TMainForm::PreviewRequested, main, [main, report] { RunReport(main, false, ReportRange::Shown, report); });
    w.KvSetDlg = new TKvSetDlg(*w.Settings, w.MainForm.get());
    w.SeparationForm = new TSeparationForm(w.MainForm.get());
    w.MainForm->AttachWindows(w.AboutBox, w.KvSetDlg, w.SeparationForm);
    return w;
}

} // namespace kovra
