// The program's caption file reader and the Japanese type of its windows.
#pragma once

#include "FileIO.h"

#include <QString>
#include <QStringList>

namespace kovra {

// The largest caption file (LblTag) read: some hundred short lines.
inline constexpr std::uint64_t kCaptionFileSizeLimit = 1ull << 20;

// Reads a CP932 text file whole into lines (CR LF, CR or LF end a line):
// a regular file of at most `limit` bytes.  The result says why not.
kovra::fileio::ReadResult ReadCp932Lines(const QString& path, QStringList& lines, std::uint64_t limit);

// Maps the Windows Japanese faces the printed forms and older settings name
// onto the installed faces, and picks an application font that has Japanese.
void SetUpJapaneseFonts();

} // namespace kovra
