// The program's window set in the order the entry point creates it: the
// settings and the open file, the main window (which reads the settings and
// loads the command-line file), then the other windows, hidden.
#pragma once

#include "ReportRun.h"

#include <QString>

#include <memory>

namespace kovra {

class TAboutBox;
class TArchiveLink;
class TChangeView;
class TKvSetDlg;
class TMainForm;
class TOpenDocument;
class TReportSupDlg;
class TSeparationForm;
namespace services {
struct TUserSettings;
}

struct ProgramWindows {
    // The settings and the open file live as long as the windows that hold
    // them (declared first, so they go last).
    std::unique_ptr<services::TUserSettings> Settings;
    std::unique_ptr<TOpenDocument> Document;
    // The older file the one on show is compared with, and the comparison.
    std::unique_ptr<TChangeView> Changes;
    // The archive, for the main window and its browser (made after the
    // main window has read the settings).
    std::unique_ptr<TArchiveLink> Archive;
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
// The report prints and previews through `reportEngine`.
ProgramWindows CreateProgramWindows(const QString& fileArgument, ReportEngine reportEngine = LibraryReportEngine());

} // namespace kovra
