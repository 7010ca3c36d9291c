#include "EnginePrompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace dorvex {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon IconOf(kovra::Tone tone)
{
    switch (tone) {
    case kovra::Tone::Plain: break;
    case kovra::Tone::Error: return QMessageBox::Critical;
    case kovra::Tone::Warning: return QMessageBox::Warning;
    case kovra::Tone::Information: return QMessageBox::Information;
    case kovra::Tone::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(kovra::Choices choices)
{
    switch (choices) {
    case kovra::Choices::Ok: break;
    case kovra::Choices::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case kovra::Choices::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case kovra::Choices::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kovra::Choices::YesCancelYesToAll: return QMessageBox::Yes | QMessageBox::Cancel | QMessageBox::YesToAll;
    }
    return QMessageBox::Ok;
}

class WidgetPrompter final : public kovra::Prompter {
public:
    kovra::Answer Ask(const kovra::Question& question) override
    {
        QMessageBox box(IconOf(question.tone), q(question.title), q(question.text), ButtonsOf(question.choices),
                        Parent(question.owner));
        switch (box.exec()) {
        case QMessageBox::Yes: return kovra::Answer::Yes;
        case QMessageBox::No: return kovra::Answer::No;
        case QMessageBox::YesToAll: return kovra::Answer::YesToAll;
        case QMessageBox::Ok: return kovra::Answer::Ok;
        default: return kovra::Answer::Cancel;
        }
    }
    std::optional<std::string> AskText(const kovra::TextQuestion& question) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(question.owner, q(question.caption), q(question.prompt),
                                                   QLineEdit::Normal, q(question.preset), &ok);
        if (!ok)
            return std::nullopt;
        return text.toStdString();
    }
    std::optional<std::string> AskFile(const kovra::FileQuestion& question) override
    {
        using Kind = kovra::FileQuestion::Kind;
        QString name;
        switch (question.kind) {
        case Kind::Open: name = QFileDialog::getOpenFileName(question.owner, QString(), q(question.preset), q(question.filter)); break;
        case Kind::Save: name = QFileDialog::getSaveFileName(question.owner, QString(), q(question.preset), q(question.filter)); break;
        case Kind::Folder: name = QFileDialog::getExistingDirectory(question.owner, QString(), q(question.preset)); break;
        }
        if (name.isEmpty())
            return std::nullopt;
        return name.toStdString();
    }
    void OpenWithShell(const std::string& url) override
    {
        QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
    }
    void WindowShown(QWidget&) override {}

private:
    static QWidget* Parent(QWidget* owner) { return owner ? owner : QApplication::activeWindow(); }
};

} // namespace

kovra::Prompter& EnginePrompter()
{
    static WidgetPrompter prompter;
    return prompter;
}

} // namespace dorvex
