// The library's load-time work, done once on first use inside a running Qt
// application (creating one when the caller has none, as a plain C program
// calling the exports would): font lists, the printer settings with the
// TrueType option 2, and message boxes for messages.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace dorvex {

void EnsureLibraryStarted();

// Questions asked by the engine's windows; tests replace the asker.
using QuestionAsker = std::function<QMessageBox::StandardButton(const QString& text, QMessageBox::StandardButtons buttons)>;
QuestionAsker SetQuestionAsker(QuestionAsker asker);
QMessageBox::StandardButton AskQuestion(const QString& text, QMessageBox::StandardButtons buttons);

// The engine's modal windows live on the stack of the call that shows them.
// A parent widget would own them, and a parent destroyed while they run (a
// window deleted from their event loop) would delete them from under that
// call; they are only kept above the caller's active window instead.
void KeepAboveActiveWindow(QWidget& window);

} // namespace dorvex
