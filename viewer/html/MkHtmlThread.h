// The worker of the export run.  It writes the pages; every dialog, label
// and message it needs is carried out on the GUI thread while it waits.
#pragma once

#include "HtmlExport.h"
#include "Prompter.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

namespace kovra {

class TMkHtmlThread : public QThread {
    Q_OBJECT
public:
    // The steps run on the thread of `guiContext`, each while the worker waits.
    struct GuiSteps {
        std::function<void()> ReportFieldListError;
        std::function<Answer(const QString& pageFileName)> ConfirmOverwrite; // Yes, YesToAll or Cancel
        std::function<void(int index, const QString& pageFileName)> ShowProgressText;
    };

    TMkHtmlThread(html::ExportJob job, QObject* guiContext, GuiSteps steps);
    ~TMkHtmlThread() override;

    // GUI thread only.  Ends the run before the next page; a step the worker
    // is waiting for and that has not begun is dropped (a question counts as
    // cancel), so the worker ends without the GUI thread serving any event:
    // after this, wait() needs no event processing.  A step already running
    // on the GUI thread is the caller's own frame, so this is never called
    // from inside one.
    void requestStop();
    bool stopRequested() const { return stop_; }

    // Valid once the thread has finished.
    const html::ExportResult& result() const { return result_; }

    // Full path of the page being written (native separators).
    QString PageFileName;

    // Shared by the worker and the GUI-thread events it has posted.
    struct Rendezvous;

protected:
    void run() override;

private:
    // Runs `step` on the GUI thread and waits for it; false when it was not
    // run because the run is being stopped.
    bool onGuiThread(std::function<void()> step);

    html::ExportJob job_;
    QObject* gui_;
    GuiSteps steps_;
    html::ExportResult result_;
    std::atomic<bool> stop_{false};
    std::shared_ptr<Rendezvous> rendezvous_;
};

} // namespace kovra
