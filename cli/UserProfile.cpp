// The one mapping in `kovra` from the viewer's settings to the profile.
#include "UserProfile.h"

#include "UserSettings.h"

namespace kovra::cli {

namespace {

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

} // namespace

UserProfile ReadUserProfile()
{
    const TUserSettings s = ReadUserSettings();
    const TUserProfile& p = s.UserProfile;
    return {s.MemberPrintOk,
            {Utf8(p.Name), Utf8(p.Yubin), Utf8(p.Jyusyo), Utf8(p.Tel), Utf8(p.Fax), Utf8(p.Email), Utf8(p.Hp)}};
}

} // namespace kovra::cli
