// The program's own folder and the files shipped with the program:
// FieldList, LblTag, Readme.txt, KvReport.FOM, KvTemplate.html and
// samples/sample.txt.  Every window, core and `kovra` command finds them
// here, and only here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kovra::services {

// The folder of the running program (UTF-8), found from the system once:
// the viewer, `kovra`, and a test program alike.  "." when the system
// cannot tell.
std::string ProgramFolder();
// The tests put the shipped files elsewhere; an empty folder restores the
// program's own.
void SetProgramFolder(const std::string& folder);

// The folders searched for a shipped file, in order: beside the program
// first (the build folder, Windows), then the installed layout's
// share/kovra-viewer.
std::vector<std::string> ShippedFilePlaces();

// The path (UTF-8) of the shipped file `name` ("LblTag",
// "samples/sample.txt"): in the first place that holds it; when none
// does, beside the program, so that a message names where it was expected.
std::string ShippedFile(std::string_view name);

// The path (UTF-8) of a "Readme.txt" the system's text viewer shows
// readably.  The shipped file is Shift-JIS, which the Windows viewer reads;
// other systems' viewers expect UTF-8, so there a UTF-8 copy is written
// into `copyFolder` (the user's cache folder; made when missing) and its
// path returned.  When no copy can be made, the shipped file as it is.
std::string ReadableReadme(const std::string& copyFolder);

} // namespace kovra::services
