#include "WindowPrompter.h"

#include "HtmlSetupDlg.h"
#include "MessageTexts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace kovra {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon IconOf(Tone tone)
{
    switch (tone) {
    case Tone::Plain: break;
    case Tone::Error: return QMessageBox::Critical;
    case Tone::Warning: return QMessageBox::Warning;
    case Tone::Information: return QMessageBox::Information;
    case Tone::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

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

class Windows final : public Prompter {
public:
    Answer Ask(const Question& question) override
    {
        QMessageBox box(question.owner);
        box.setWindowTitle(q(question.title.empty() ? std::string(msg::kApplicationTitle) : question.title));
        box.setText(q(question.text));
        box.setIcon(IconOf(question.tone));
        return RunBox(box, question.choices);
    }
    std::optional<std::string> AskText(const TextQuestion& question) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(question.owner, q(question.caption), q(question.prompt),
                                                   QLineEdit::Normal, q(question.preset), &ok);
        if (!ok)
            return std::nullopt;
        return text.toStdString();
    }
    std::optional<std::string> AskFile(const FileQuestion& question) override
    {
        QString name;
        switch (question.kind) {
        case FileQuestion::Kind::Open:
            name = QFileDialog::getOpenFileName(question.owner, QString(), q(question.preset), q(question.filter),
                                                nullptr, QFileDialog::HideNameFilterDetails);
            break;
        case FileQuestion::Kind::Save:
            name = QFileDialog::getSaveFileName(question.owner, QString(), q(question.preset), q(question.filter),
                                                nullptr, QFileDialog::HideNameFilterDetails);
            break;
        case FileQuestion::Kind::Folder: name = PickFolderDialog(question.owner, q(question.preset)); break;
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
};

} // namespace

Prompter& WindowPrompter()
{
    static Windows prompter;
    return prompter;
}

} // namespace kovra
