#include "EnginePrompter.h"

#include "QtPrompter.h"
#include "QtText.h"
#include "MessageTexts.h"

#include <QApplication>

namespace dorvex {
namespace {

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

class WidgetPrompter final : public kovra::QtPrompter {
public:
    kovra::Answer Ask(const kovra::Question& question) override
    {
        // Captioned as every other box of the program, never with the
        // application's file name, which the platform would put there.
        const std::string title = question.title.empty() ? std::string(kovra::msg::kApplicationTitle) : question.title;
        QMessageBox box(kovra::IconOf(question.tone), kovra::q(title), kovra::q(question.text),
                        ButtonsOf(question.choices), Parent(question.owner));
        switch (box.exec()) {
        case QMessageBox::Yes: return kovra::Answer::Yes;
        case QMessageBox::No: return kovra::Answer::No;
        case QMessageBox::YesToAll: return kovra::Answer::YesToAll;
        case QMessageBox::Ok: return kovra::Answer::Ok;
        default: return kovra::Answer::Cancel;
        }
    }

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
