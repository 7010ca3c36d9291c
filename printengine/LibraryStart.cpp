#include "LibraryStart.h"

#include "EnginePrompter.h"
#include "Imageout.h"
#include "lumprn.h"

#include "NoDisplay.h"
#include "QtJapanese.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace dorvex {

void EnsureLibraryStarted()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    if (!QCoreApplication::instance()) {
        // Called from a program without Qt: the library keeps its own
        // application for the life of the process.
        kovra::UseOffscreenWithoutDisplay();
        static int argc = 1;
        static char name[] = "Dorvex32";
        static char* argv[] = {name, nullptr};
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
        // Its print and page-setup dialogs speak Japanese like the rest.
        kovra::InstallQtJapanese();
    }
    EnsureEngineStarted();
    ThePrinterSettings().SetPrinterTrueType(2);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && kovra::PrompterIsDefault())
        kovra::SetPrompter(&EnginePrompter());
}

void KeepAboveActiveWindow(QWidget& window)
{
    QWidget* active = QApplication::activeWindow();
    if (!active || !active->windowHandle())
        return;
    window.winId(); // makes the window's QWindow
    // The transient parent is held weakly: its end leaves this window alone.
    window.windowHandle()->setTransientParent(active->windowHandle());
}

} // namespace dorvex
