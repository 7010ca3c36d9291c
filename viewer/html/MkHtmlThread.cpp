#include "MkHtmlThread.h"

#include <QDir>
#include <QMetaObject>

#include <condition_variable>
#include <mutex>

namespace kovra {

// A step waiting for the GUI thread is in one of these states; the worker
// waits until it is Done or Dropped.  Dropped is only ever set while the
// step is Queued, so a step runs only while the worker still waits for it
// (its captures of the worker's locals are then alive).
struct TMkHtmlThread::Rendezvous {
    enum class State { Queued, Running, Done, Dropped };
    struct Call {
        State state = State::Queued;
        std::function<void()> step;
    };
    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;
    std::shared_ptr<Call> waiting; // the call the worker waits for, if any
};

TMkHtmlThread::TMkHtmlThread(html::ExportJob job, QObject* guiContext, GuiSteps steps)
    : job_(std::move(job)), gui_(guiContext), steps_(std::move(steps)), rendezvous_(std::make_shared<Rendezvous>())
{
}

TMkHtmlThread::~TMkHtmlThread()
{
    requestStop();
    wait();
}

void TMkHtmlThread::requestStop()
{
    stop_ = true;
    {
        std::lock_guard<std::mutex> lock(rendezvous_->mutex);
        rendezvous_->stopping = true;
        if (rendezvous_->waiting && rendezvous_->waiting->state == Rendezvous::State::Queued)
            rendezvous_->waiting->state = Rendezvous::State::Dropped;
    }
    rendezvous_->changed.notify_all();
}

bool TMkHtmlThread::onGuiThread(std::function<void()> step)
{
    using State = Rendezvous::State;
    auto call = std::make_shared<Rendezvous::Call>();
    call->step = std::move(step);
    {
        std::lock_guard<std::mutex> lock(rendezvous_->mutex);
        if (rendezvous_->stopping)
            return false;
        rendezvous_->waiting = call;
    }
    // The event holds the shared state only, never this object: it may be
    // delivered after the thread object is gone, and then does nothing.
    QMetaObject::invokeMethod(
        gui_,
        [rv = rendezvous_, call] {
            {
                std::lock_guard<std::mutex> lock(rv->mutex);
                if (call->state != State::Queued)
                    return;
                call->state = State::Running;
            }
            struct MarkDone {
                Rendezvous& rv;
                Rendezvous::Call& call;
                ~MarkDone()
                {
                    {
                        std::lock_guard<std::mutex> lock(rv.mutex);
                        call.state = State::Done;
                    }
                    rv.changed.notify_all();
                }
            } markDone{*rv, *call};
            call->step();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(rendezvous_->mutex);
    rendezvous_->changed.wait(lock, [&] { return call->state == State::Done || call->state == State::Dropped; });
    rendezvous_->waiting.reset();
    return call->state == State::Done;
}

void TMkHtmlThread::run()
{
    PageFileName.clear();
    html::ExportHooks hooks;
    hooks.fieldListError = [this](int, const std::string&) {
        onGuiThread([this] { steps_.ReportFieldListError(); });
    };
    hooks.confirmOverwrite = [this](const std::string& path) {
        PageFileName = QDir::toNativeSeparators(QString::fromStdString(path));
        // Cancel unless the GUI thread answers: a stop request leaves the
        // question unasked.
        Answer choice = Answer::Cancel;
        onGuiThread([this, &choice] { choice = steps_.ConfirmOverwrite(PageFileName); });
        switch (choice) {
        case Answer::Yes: return html::OverwriteAnswer::Overwrite;
        case Answer::YesToAll: return html::OverwriteAnswer::OverwriteAll;
        default: return html::OverwriteAnswer::Cancel;
        }
    };
    hooks.pageWritten = [this](int index, const std::string& path) {
        PageFileName = QDir::toNativeSeparators(QString::fromStdString(path));
        onGuiThread([this, index] { steps_.ShowProgressText(index, PageFileName); });
    };
    hooks.stopRequested = [this] { return stop_.load(); };
    result_ = html::ExportPages(job_, hooks);
}

} // namespace kovra
