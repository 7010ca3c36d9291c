// What `kovra` needs from the operating system and which differs between
// Linux and Windows: the arguments and the standard streams.  (Its own
// folder, where the shipped files lie, is the services' ShippedFiles.h.)
// Everything else in the tool is portable C++.
#pragma once

#include <string>
#include <vector>

namespace kovra::cli::platform {

// The command-line arguments (without the program name) as UTF-8.  Windows
// hands them over as UTF-16; the C runtime's argv would pass them through
// the ANSI code page and lose every character it lacks.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error carry bytes unchanged: on Windows no CR is put
// before each LF (JSON and CSV stay the same as on Linux), and a console
// shows the UTF-8 text as such.
void UseByteStdio();

} // namespace kovra::cli::platform
