// Every modal step of the export run goes through one of these functions,
// so the tests can answer them instead of blocking on a dialog.  The
// defaults show the real boxes.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kovra {

class THtmlSetupDlg;

enum class OverwriteChoice { Yes, Cancel, YesToAll };

struct HtmlRunHooks {
    // Runs the setup dialog modally; true when closed with OK.
    std::function<bool(THtmlSetupDlg& dlg)> runSetupDialog;
    // Error box with an OK button ("パラメーターにエラーがあります", the FieldList error).
    std::function<void(QWidget* parent, const QString& text)> showError;
    // The overwrite question: title "警告", the three buttons.
    std::function<OverwriteChoice(QWidget* parent, const QString& text)> askOverwrite;
    // Yes/no question (creating a missing folder).
    std::function<bool(QWidget* parent, const QString& text)> askYesNo;
    // The end message; `plain` is false when the run did not simply succeed.
    std::function<void(QWidget* parent, const QString& text, bool plain)> showFinished;
    // Folder picker starting at `start`; returns the typed or chosen folder,
    // empty on cancel.  The folder need not exist.
    std::function<QString(QWidget* parent, const QString& start)> pickFolder;
    // FieldList path; empty: "FieldList" in the program's folder.
    QString fieldListPath;
};

// The hooks in use (the defaults until a test replaces them).
HtmlRunHooks& RunHooks();
// Restores the defaults.
void ResetRunHooks();

} // namespace kovra
