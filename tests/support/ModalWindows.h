// The tests' hands on the program's modal windows: once such a window runs
// (its own event loop has started), the test gets it and drives it.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kovra::testing {

class ModalWindowWatcher final : public QObject {
public:
    explicit ModalWindowWatcher(std::function<void(QWidget&)> drive) : drive_(std::move(drive))
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = event->type() == QEvent::Show ? qobject_cast<QWidget*>(watched) : nullptr;
        if (window && window->isWindow() && window->isModal() && drive_) {
            // Shown from inside exec(): the window's loop runs by the time the timer fires.
            QTimer::singleShot(0, window, [this, w = QPointer<QWidget>(window)] {
                if (w)
                    drive_(*w);
            });
        }
        return false;
    }

private:
    std::function<void(QWidget&)> drive_;
};

// The window of type T that exists now, if any.
template <class T>
T* TopLevelWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w))
            return t;
    return nullptr;
}

} // namespace kovra::testing
