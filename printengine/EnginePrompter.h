// The library's own windows for the prompter (Prompter.h): message boxes
// over the caller's active window, captioned "Kovra Viewer" unless the
// question names a title, Qt's standard buttons, and Qt's file and text
// boxes.  Installed when the library starts inside a widget application
// and nobody installed another.
#pragma once

#include "Prompter.h"

namespace dorvex {

kovra::Prompter& EnginePrompter();

} // namespace dorvex
