// Every message box and every hand-over to the desktop (browser, mail
// program, text viewer) of the viewer goes through these two functions, so
// the tests can watch them instead of blocking on a modal box or starting a
// browser.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace kovra {

enum class MsgIcon { None, Error, Warning, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    QWidget* parent = nullptr;
    MsgIcon icon = MsgIcon::None;
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
};

// Shows a modal box captioned with the application title ("Kovra Viewer").
MsgResult ShowMessage(QWidget* parent, MsgIcon icon, const QString& text,
                      MsgButtons buttons = MsgButtons::Ok);

// Replaces the box (an empty function restores it); returns the previous sink.
using MessageSinkFn = std::function<MsgResult(const MessageRequest&)>;
MessageSinkFn SetMessageSink(MessageSinkFn sink);

// Opens a web page, a mailto: address or a local file with the desktop's
// program for it.  The result is not looked at: a system without a browser
// or a missing document gives no message.
void OpenWithShell(const QUrl& url);

using ShellOpenFn = std::function<void(const QUrl&)>;
ShellOpenFn SetShellOpener(ShellOpenFn opener);

} // namespace kovra
