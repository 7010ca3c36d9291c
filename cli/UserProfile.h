// The user's settings as `kovra html` and `kovra report` pass them on: the
// member print switch and the user's contact texts (UTF-8), the same the
// viewer's HTML pages and report show.
#pragma once

#include "HtmlPage.h"

namespace kovra::cli {

struct UserProfile {
    bool memberPrintOk = true;
    html::UserTexts texts;
};

// From the settings the viewer keeps; a build without them (no Qt) has the
// profile the viewer starts with.
UserProfile ReadUserProfile();

} // namespace kovra::cli
