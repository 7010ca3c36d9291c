// ProjectKovra: the listing viewer.  The first argument, when given, is an
// export file to open at start.
#include "MainForm.h"
#include "MessageTexts.h"
#include "NoDisplay.h"
#include "ProgramWindows.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Qt would abort without a display to connect to: say so plainly and end
    // with code 2, so a start script can fall back to the console tools.
    if (kovra::NoDisplayToShowOn()) {
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
