// Where Qt draws when there is no screen to show on.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace kovra {

// True where Qt would abort for want of a display: an X11 or Wayland system
// with neither display named and no Qt platform chosen.
inline bool NoDisplayToShowOn()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

// Lets Qt draw on its offscreen platform when there is no display (a
// console tool, or the print engine started inside one).  Call before the
// application object is made.
inline void UseOffscreenWithoutDisplay()
{
    if (NoDisplayToShowOn())
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace kovra
