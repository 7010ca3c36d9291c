// Qt's own texts in Japanese: the buttons of the standard message boxes, the
// file, folder, print and page-setup dialogs.  Every text of the program is
// Japanese, so these follow whatever the system's language is.  The viewer
// and the print engine library (when it made the application itself for a
// plain C caller) both call this.
#pragma once

#include <QString>
#include <QStringList>

namespace kovra {

// The folders searched for "qtbase_ja.qm", in order: the `translations`
// folder beside the running program (a Windows folder or a package ships
// it there), then Qt's own translations folder.
QStringList QtJapaneseFolders();

// Installs Qt's Japanese translation into the running application once, and
// makes Japanese the default locale (the dialogs' dates, sizes and file
// kinds); a second call does nothing.  Returns the file installed, empty when there
// is no application or no folder holds the translation (Qt then stays in
// English, which is not worth a message).
QString InstallQtJapanese();

} // namespace kovra
