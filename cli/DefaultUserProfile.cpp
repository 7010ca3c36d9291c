// A build without the settings module (no Qt): the profile the viewer
// starts with.
#include "UserProfile.h"

namespace kovra::cli {

UserProfile ReadUserProfile()
{
    return {true, {"（株）USER", "000-0000", "", "000-000-0000", "000-000-0000", "user@example.com", "http://"}};
}

} // namespace kovra::cli
