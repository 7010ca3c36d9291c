#include "MkHtmlThread.h"

#include <QDir>
#include <QMetaObject>

namespace kovra {

TMkHtmlThread::TMkHtmlThread(html::ExportJob job, QObject* guiContext, GuiSteps steps)
    : job_(std::move(job)), gui_(guiContext), steps_(std::move(steps))
{
}

template <typename F>
void TMkHtmlThread::onGuiThread(F&& f)
{
    QMetaObject::invokeMethod(gui_, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

void TMkHtmlThread::run()
{
    PageFileName.clear();
    html::ExportHooks hooks;
    hooks.fieldListError = [this](int, const std::string&) {
        if (!stop_)
            onGuiThread([this] { steps_.ReportFieldListError(); });
    };
    hooks.confirmOverwrite = [this](const std::string& path) {
        PageFileName = QDir::toNativeSeparators(QString::fromStdString(path));
        // Cancel unless the GUI thread answers: a stop request leaves the
        // question unasked.
        OverwriteChoice choice = OverwriteChoice::Cancel;
        if (!stop_)
            onGuiThread([this, &choice] { choice = steps_.ConfirmOverwrite(PageFileName); });
        switch (choice) {
        case OverwriteChoice::Yes: return html::OverwriteAnswer::Overwrite;
        case OverwriteChoice::YesToAll: return html::OverwriteAnswer::OverwriteAll;
        case OverwriteChoice::Cancel: break;
        }
        return html::OverwriteAnswer::Cancel;
    };
    hooks.pageWritten = [this](int index, const std::string& path) {
        PageFileName = QDir::toNativeSeparators(QString::fromStdString(path));
        if (!stop_)
            onGuiThread([this, index] { steps_.ShowProgressText(index, PageFileName); });
    };
    hooks.stopRequested = [this] { return stop_.load(); };
    result_ = html::ExportPages(job_, hooks);
}

} // namespace kovra
