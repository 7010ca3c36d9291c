// The viewer's windows for the prompter (Prompter.h): message boxes captioned
// with the application title ("Kovra Viewer") unless a question brings its
// own, the export's yes/no and overwrite questions with their Japanese
// buttons, the file and folder pickers, and the desktop's programs for web
// pages, mail addresses and documents.  The program installs it at start.
#pragma once

#include "Prompter.h"

namespace kovra {

Prompter& WindowPrompter();

} // namespace kovra
