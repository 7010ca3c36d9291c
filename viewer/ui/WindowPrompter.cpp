#include "WindowPrompter.h"

#include "HtmlSetupDlg.h"
#include "MessageTexts.h"
#include "QtPrompter.h"
#include "QtText.h"

#include <QPushButton>

namespace kovra {
namespace {

// A box with the buttons of `choices`: Qt's standard ones for OK and
// cancel, the program's own Japanese ones for the questions of the export.
Answer RunBox(QMessageBox& box, Choices choices)
{
    switch (choices) {
    case Choices::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Choices::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Choices::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case Choices::YesNo: {
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    case Choices::YesCancelYesToAll: {
        // One role for all three: the platform's button order (which groups
        // the yes buttons) would otherwise reorder them.
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::ActionRole);
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::ActionRole);
        QPushButton* all = box.addButton(QStringLiteral("すべてはい(&A)"), QMessageBox::ActionRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == yes)
            return Answer::Yes;
        return box.clickedButton() == all ? Answer::YesToAll : Answer::Cancel;
    }
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

// File boxes show their filters' captions only: the captions name their
// patterns already.  Folders come from the viewer's own picker, which takes
// a folder that does not exist yet.
class Windows final : public QtPrompter {
public:
    Windows() : QtPrompter(QFileDialog::HideNameFilterDetails) {}

    Answer Ask(const Question& question) override
    {
        QMessageBox box(question.owner);
        box.setWindowTitle(q(question.title.empty() ? std::string(msg::kApplicationTitle) : question.title));
        box.setText(q(question.text));
        box.setIcon(IconOf(question.tone));
        return RunBox(box, question.choices);
    }

protected:
    QString PickFolder(QWidget* owner, const QString& start) override { return PickFolderDialog(owner, start); }
};

} // namespace

Prompter& WindowPrompter()
{
    static Windows prompter;
    return prompter;
}

} // namespace kovra
