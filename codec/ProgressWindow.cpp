#include "ProgressWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace kovra {

namespace {

constexpr int kPollMs = 10;

// Serves the GUI thread's events until `finished`, or `until` says so.
void ServeUntil(const std::atomic<bool>& finished, const std::function<bool()>& until,
                QEventLoop::ProcessEventsFlags flags)
{
    if (finished.load())
        return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished.load() || until())
            loop.quit();
    });
    poll.start(kPollMs);
    loop.exec(flags);
}

} // namespace

bool RunWithProgress(QWidget* owner, const QString& caption, const std::function<void(WorkProgress&)>& work)
{
    WorkProgress progress;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
    });

    // A short piece of work ends before anything shows; the clicks and keys
    // meanwhile wait, so no command starts on top of it.
    QElapsedTimer clock;
    clock.start();
    ServeUntil(finished, [&] { return clock.elapsed() >= kProgressWindowDelayMs; },
               QEventLoop::ExcludeUserInputEvents);

    if (!finished.load()) {
        QProgressDialog window(caption, QStringLiteral("中止"), 0, 1000, owner);
        window.setObjectName(QStringLiteral("ProgressWindow"));
        window.setWindowTitle(QCoreApplication::applicationName());
        window.setWindowModality(Qt::ApplicationModal);
        window.setAutoClose(false);
        window.setAutoReset(false);
        window.setMinimumDuration(0);
        QObject::connect(&window, &QProgressDialog::canceled, &window, [&progress] { progress.Stop(); });
        window.show();
        bool updating = false; // a modal window's setValue serves events itself
        ServeUntil(finished,
                   [&] {
                       if (!updating && !progress.Stopped()) {
                           updating = true;
                           window.setValue(progress.Permille());
                           updating = false;
                       }
                       return false;
                   },
                   progress.Stopped() ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
        window.hide();
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return !progress.Stopped();
}

} // namespace kovra
