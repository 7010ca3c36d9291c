#include "ProgramWindows.h"

#include "AboutBox.h"
#include "KvSetDlg.h"
#include "MainForm.h"
#include "ProgramFonts.h"
#include "ReportRun.h"
#include "SeparationForm.h"
#include "WindowPrompter.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kovra {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() = default;

void SetUpApplication()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Kovra Viewer"));
    SetUpJapaneseFonts();
    // Every message box and question of the program shows the viewer's
    // windows (`kovra` and the tests answer differently).
    SetPrompter(&WindowPrompter());
    // The file dialogs and the buttons of the message boxes come from Qt:
    // in Japanese too, when Qt's own translation is installed.
    static QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);
}

ProgramWindows CreateProgramWindows(const QString& fileArgument)
{
    ProgramWindows w;
    w.MainForm = std::make_unique<TMainForm>(fileArgument);
    w.AboutBox = new TAboutBox(w.MainForm.get());
    TMainForm* main = w.MainForm.get();
    const ReportContext report{[main] { return main->ShownListingNumber(); },
                               [main] { return main->FoundListings(); }};
    w.ReportSupDlg = new TReportSupDlg(main, report);
    // The main window raises its report commands only while listings are loaded.
    QObject::connect(main, &TMainForm::PrintRequested, w.ReportSupDlg, [dlg = w.ReportSupDlg] { dlg->exec(); });
    QObject::connect(main, &TMainForm::FoundPrintRequested, w.ReportSupDlg, [dlg = w.ReportSupDlg] {
        dlg->SetRadioPrnSetupIndex(2);
        dlg->exec();
    });
    QObject::connect(main, &TMainForm::PreviewRequested, main, [main, report] { RunReport(main, false, ReportRange::Shown, report); });
    w.KvSetDlg = new TKvSetDlg(w.MainForm.get());
    w.SeparationForm = new TSeparationForm(w.MainForm.get());
    w.MainForm->AttachWindows(w.AboutBox, w.KvSetDlg, w.SeparationForm);
    return w;
}

} // namespace kovra
