// A build without Qt (the Windows cross-build of the plain C++ parts) has no
// settings store: it reads the defaults and keeps nothing.
#include "UserSettings.h"
#include "UserSettingsStore.h"

namespace kovra::services {

void RedirectUserSettings(const std::string&) {}

TUserSettings ReadUserSettings() { return {}; }

void WriteUserSettings(const TUserSettings&) {}

} // namespace kovra::services
