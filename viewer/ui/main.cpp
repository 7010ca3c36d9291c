// ProjectKovra: the listing viewer.  The first argument, when given, is an
// export file to open at start.
#include "MainForm.h"
#include "ProgramWindows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    kovra::SetUpApplication();

    const QStringList args = QApplication::arguments();
    kovra::ProgramWindows windows = kovra::CreateProgramWindows(args.value(1));
    windows.MainForm->show();
    return app.exec();
}
