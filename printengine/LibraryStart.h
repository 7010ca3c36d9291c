// The library's load-time work, done once on first use inside a running Qt
// application (creating one when the caller has none, as a plain C program
// calling the exports would): font lists, the printer settings with the
// TrueType option 2, and the library's own windows for its messages and
// questions (EnginePrompter.h).
#pragma once

class QWidget;

namespace dorvex {

void EnsureLibraryStarted();

// The engine's modal windows live on the stack of the call that shows them.
// A parent widget would own them, and a parent destroyed while they run (a
// window deleted from their event loop) would delete them from under that
// call; they are only kept above the caller's active window instead.
void KeepAboveActiveWindow(QWidget& window);

} // namespace dorvex
