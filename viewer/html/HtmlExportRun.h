// The HTML export run as the main window sees it: the setup dialog, the
// progress window and the worker thread live behind this one object.  While
// a run writes pages its document is in use by the run (DocumentSlot): the
// window set loads no other file and does not end until the end message is
// gone.
#pragma once

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace kovra {

class DocumentSlot;
namespace services {
struct TUserSettings;
}

class HtmlExportController : public QObject {
    Q_OBJECT
public:
    // Writes the pages of `document`'s listings with the user's profile
    // from `settings` (copied at the start of each run).  `pickTemplate`
    // runs the main window's OpenDialog on its HTML filter, at the template
    // it is given, and returns the chosen path (empty on cancel).
    HtmlExportController(QWidget* mainWindow, DocumentSlot& document, const services::TUserSettings& settings,
                         std::function<QString(const QString& current)> pickTemplate);
    ~HtmlExportController() override;

    // The HTML command: shows the setup dialog and, on OK, starts the run.
    // `only`: the listings to write (0-based table indices, in the order
    // their pages link); unset: all.
    void HtmlMenuClick(std::optional<std::vector<int>> only = std::nullopt);

    // A run is on (until its end message has been dismissed).
    bool Running() const;

private:
    // The worker's end handler, on the GUI thread: closes the progress
    // window, beeps, shows the end message, then ends the run's hold on the
    // document.
    void ExportFinished();

    struct Impl;
    Impl* d;
};

} // namespace kovra
