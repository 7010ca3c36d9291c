// Long work off the GUI thread: the work runs on a thread of its own while
// the windows go on painting; once it has taken longer than a blink, a
// progress window shows how far it has come and offers 中止.
#pragma once

#include "WorkProgress.h"

#include <QString>

#include <functional>

class QWidget;

namespace kovra {

// Runs `work` on a worker thread and returns when it has ended.  Until the
// progress window shows (after `kProgressWindowDelayMs`), the user's input
// waits; then the window is modal, so no other command starts meanwhile.
// 中止 asks the work to stop (WorkProgress::Stopped); it must end soon after.
// Returns false when the user stopped it.  An exception thrown by `work`
// is thrown again here.
bool RunWithProgress(QWidget* owner, const QString& caption, const std::function<void(WorkProgress&)>& work);

inline constexpr int kProgressWindowDelayMs = 300;

} // namespace kovra
