// What the viewer's and the print engine's prompters (Prompter.h) share: the
// icon of a message box, the text and file boxes and the hand-over to the
// desktop.  Each says its messages its own way (Ask).
#pragma once

#include "Prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace kovra {

QMessageBox::Icon IconOf(Tone tone);

class QtPrompter : public Prompter {
public:
    // `fileOptions`: how the open and save boxes show their filters.
    explicit QtPrompter(QFileDialog::Options fileOptions = {}) : fileOptions_(fileOptions) {}

    std::optional<std::string> AskText(const TextQuestion& question) override;
    std::optional<std::string> AskFile(const FileQuestion& question) override;
    void OpenWithShell(const std::string& url) override;

protected:
    // A folder, which need not exist yet; empty when cancelled.  Qt's own
    // folder box unless the program has one.
    virtual QString PickFolder(QWidget* owner, const QString& start);

private:
    QFileDialog::Options fileOptions_;
};

} // namespace kovra
