// The program's own folder and the Japanese type of its windows.
#pragma once

#include <QString>
#include <QStringList>

namespace kovra {

// The folder of the running program, where LblTag, Readme.txt and the
// report format ship.  The tests point it at the build's bin folder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);
QString ProgramFile(const QString& name);

// Reads a CP932 text file whole into lines (CR LF, CR or LF end a line).
// False when the file cannot be read.
bool ReadCp932Lines(const QString& path, QStringList& lines);

// Maps the Windows Japanese faces the printed forms and older settings name
// onto the installed faces, and picks an application font that has Japanese.
void SetUpJapaneseFonts();

} // namespace kovra
