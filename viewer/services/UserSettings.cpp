#include "UserSettings.h"

namespace kovra::services {

TUserSettings& Settings()
{
    static TUserSettings settings;
    return settings;
}

ProfileTexts UserProfileTexts(const TUserSettings& settings) { return settings.UserProfile; }

} // namespace kovra::services
