// ProjectKovra: the listing viewer.  The first argument, when given, is an
// export file to open at start.
#include "MainForm.h"
#include "MessageTexts.h"
#include "ProgramWindows.h"

#include <QApplication>

#include <cstdio>

namespace {

// On X11/Wayland systems Qt aborts when there is no display to connect to;
// say so plainly and end with code 2, so a start script can fall back to
// the console tools.
bool NoDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    if (NoDisplay()) {
        std::fprintf(stderr, "ProjectKovra: %s\n", std::string(kovra::msg::kNoDisplay).c_str());
        return 2;
    }
    QApplication app(argc, argv);
    kovra::SetUpApplication();

    const QStringList args = QApplication::arguments();
    kovra::ProgramWindows windows = kovra::CreateProgramWindows(args.value(1));
    windows.MainForm->show();
    return app.exec();
}
