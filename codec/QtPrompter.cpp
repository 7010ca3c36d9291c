#include "QtPrompter.h"

#include "FileDialogLook.h"
#include "QtText.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QUrl>

namespace kovra {

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

std::optional<std::string> QtPrompter::AskText(const TextQuestion& question)
{
    bool ok = false;
    const QString text = QInputDialog::getText(question.owner, q(question.caption), q(question.prompt),
                                               QLineEdit::Normal, q(question.preset), &ok);
    if (!ok)
        return std::nullopt;
    return u8(text);
}

std::optional<std::string> QtPrompter::AskFile(const FileQuestion& question)
{
    QString name;
    if (question.kind == FileQuestion::Kind::Folder) {
        name = PickFolder(question.owner, q(question.preset));
    } else {
        // The preset may name a file: the dialog opens in its folder with it chosen.
        QFileDialog dialog(question.owner, QString(), q(question.preset), q(question.filter));
        dialog.setOptions(dialog.options() | fileOptions_);
        const bool save = question.kind == FileQuestion::Kind::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        MakeFileDialogJapanese(dialog);
        if (dialog.exec() == QDialog::Accepted)
            name = dialog.selectedFiles().value(0);
    }
    if (name.isEmpty())
        return std::nullopt;
    return u8(name);
}

void QtPrompter::OpenWithShell(const std::string& url)
{
    QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
}

QString QtPrompter::PickFolder(QWidget* owner, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, QString(), start);
}

} // namespace kovra
