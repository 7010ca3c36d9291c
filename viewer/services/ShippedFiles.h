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

} // namespace kovra::services
