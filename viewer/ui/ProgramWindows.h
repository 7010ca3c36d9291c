// The program's windows in the order the entry point creates them: the main
// window (which loads the command-line file), then the others, hidden.
#pragma once

#include <QString>

#include <memory>

namespace kovra {

class TAboutBox;
class TKvSetDlg;
class TMainForm;
class TReportSupDlg;
class TSeparationForm;

struct ProgramWindows {
    // The main window owns the others (they are its child windows), so
    // deleting it ends them all; its destruction writes the settings.
    std::unique_ptr<TMainForm> MainForm;
    TAboutBox* AboutBox = nullptr;
    TReportSupDlg* ReportSupDlg = nullptr; // keeps its choice for the run
    TKvSetDlg* KvSetDlg = nullptr;
    TSeparationForm* SeparationForm = nullptr;
    // The HTML export dialog and its progress window belong to the export
    // controller the main window holds.

    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ~ProgramWindows();
};

// Application-wide set-up shared by the program, its tests and benchmarks:
// the title "Kovra Viewer", the Japanese type and the viewer's windows for
// every question (WindowPrompter.h).  Call once after the QApplication
// exists.
void SetUpApplication();

// Creates the windows; `fileArgument` is the first command-line argument.
ProgramWindows CreateProgramWindows(const QString& fileArgument);

} // namespace kovra
