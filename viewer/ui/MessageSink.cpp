#include "MessageSink.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>

namespace kovra {

namespace {

MessageSinkFn& sink()
{
    static MessageSinkFn fn;
    return fn;
}

ShellOpenFn& opener()
{
    static ShellOpenFn fn;
    return fn;
}

MsgResult showBox(const MessageRequest& r)
{
    QMessageBox box(r.parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(r.text);
    switch (r.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (r.buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Ok;
    }
}

} // namespace

MsgResult ShowMessage(QWidget* parent, MsgIcon icon, const QString& text, MsgButtons buttons)
{
    const MessageRequest r{parent, icon, text, buttons};
    return sink() ? sink()(r) : showBox(r);
}

MessageSinkFn SetMessageSink(MessageSinkFn fn)
{
    MessageSinkFn old = std::move(sink());
    sink() = std::move(fn);
    return old;
}

void OpenWithShell(const QUrl& url)
{
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

ShellOpenFn SetShellOpener(ShellOpenFn fn)
{
    ShellOpenFn old = std::move(opener());
    opener() = std::move(fn);
    return old;
}

} // namespace kovra
