#include "LibraryStart.h"

#include "Imageout.h"
#include "Messages.h"
#include "lumprn.h"

#include <QApplication>
#include <QWindow>

#include <memory>

namespace dorvex {
namespace {

QuestionAsker& Asker()
{
    static QuestionAsker asker;
    return asker;
}

void MessageBoxSink(MessageKind kind, const std::string& text)
{
    const QString t = QString::fromStdString(text);
    QWidget* parent = QApplication::activeWindow();
    switch (kind) {
    case MessageKind::Error: QMessageBox::critical(parent, QString(), t, QMessageBox::Ok); break;
    case MessageKind::Warning: QMessageBox::warning(parent, QString(), t, QMessageBox::Ok); break;
    case MessageKind::Information: QMessageBox::information(parent, QString(), t, QMessageBox::Ok); break;
    }
}

} // namespace

void EnsureLibraryStarted()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    if (!QCoreApplication::instance()) {
        // Called from a program without Qt: the library keeps its own
        // application for the life of the process.
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        static int argc = 1;
        static char name[] = "Dorvex32";
        static char* argv[] = {name, nullptr};
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }
    EnsureEngineStarted();
    ThePrinterSettings().SetPrinterTrueType(2);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && MessageSinkIsDefault())
        SetMessageSink(MessageBoxSink);
}

QuestionAsker SetQuestionAsker(QuestionAsker asker)
{
    QuestionAsker previous = Asker();
    Asker() = std::move(asker);
    return previous;
}

QMessageBox::StandardButton AskQuestion(const QString& text, QMessageBox::StandardButtons buttons)
{
    if (Asker())
        return Asker()(text, buttons);
    return QMessageBox::question(QApplication::activeWindow(), QString(), text, buttons);
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
