// The worker of the export run.  It writes the pages; every dialog, label
// and message it needs is carried out on the GUI thread while it waits.
#pragma once

#include "HtmlExport.h"
#include "HtmlRunHooks.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

namespace kovra {

class TMkHtmlThread : public QThread {
    Q_OBJECT
public:
    // The steps run on the thread of `guiContext`, each as a blocking call.
    struct GuiSteps {
        std::function<void()> ReportFieldListError;
        std::function<OverwriteChoice(const QString& pageFileName)> ConfirmOverwrite;
        std::function<void(int index, const QString& pageFileName)> ShowProgressText;
    };

    TMkHtmlThread(html::ExportJob job, QObject* guiContext, GuiSteps steps);

    // Ends the run before the next page (and answers pending questions with
    // cancel); used when the controller goes away during a run.
    void requestStop() { stop_ = true; }
    bool stopRequested() const { return stop_; }

    // Valid once the thread has finished.
    const html::ExportResult& result() const { return result_; }

    // Full path of the page being written (native separators).
    QString PageFileName;

protected:
    void run() override;

private:
    template <typename F>
    void onGuiThread(F&& f);

    html::ExportJob job_;
    QObject* gui_;
    GuiSteps steps_;
    html::ExportResult result_;
    std::atomic<bool> stop_{false};
};

} // namespace kovra
