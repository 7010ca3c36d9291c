// Where the settings are kept.  The program always uses the user's native
// store; the tests and the benchmarks point it at a file of their own so that
// they never read or overwrite the real user's values.
#pragma once

#include <string>

namespace kovra::services {

// An empty path restores the native store (registry on Windows, the user's
// settings file elsewhere); any other path (UTF-8) is an INI file used instead.
void RedirectUserSettings(const std::string& iniFile);

} // namespace kovra::services
