// The program's own file dialogs (Qt's, where the platform has no dialog of
// its own) in Japanese throughout: the translation covers the captions and
// buttons, but the file list takes its dates and sizes from the system's
// locale (English under LANG=C) and calls a folder "Folder".
#pragma once

class QFileDialog;

namespace kovra {

// Call on a new dialog before it is shown: filter captions without their
// patterns appended again and the file list's columns in
// Japanese.
void MakeFileDialogJapanese(QFileDialog& dialog);

} // namespace kovra
