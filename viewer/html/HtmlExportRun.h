// The HTML export run as the main window sees it: the setup dialog, the
// progress window and the worker thread live behind this one object.
#pragma once

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace kovra {

// Set while an export runs: the main window refuses to close and refuses
// dropped files, and keeps its open and HTML commands disabled.
bool HtmlExportRunning();

class HtmlExportController : public QObject {
    Q_OBJECT
public:
    // `pickTemplate` runs the main window's OpenDialog on its HTML filter and
    // returns the chosen path (empty on cancel).
    HtmlExportController(QWidget* mainWindow, std::function<QString()> pickTemplate);
    ~HtmlExportController() override;

    // The HTML command: shows the setup dialog and, on OK, starts the run.
    // `only`: the listings to write (0-based table indices, in the order
    // their pages link); unset: all.
    void HtmlMenuClick(std::optional<std::vector<int>> only = std::nullopt);

signals:
    // true when a run starts, false when it has finished (after its end message).
    void runningChanged(bool running);

private:
    // The worker's end handler, on the GUI thread: closes the progress
    // window, beeps, shows the end message, then clears the running state.
    void ExportFinished();

    struct Impl;
    Impl* d;
};

} // namespace kovra
