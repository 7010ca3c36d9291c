// The export dialog: where the pages go and which template makes them.
#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace kovra {

class THtmlSetupDlg : public QDialog {
    Q_OBJECT
public:
    THtmlSetupDlg(QWidget* parent, std::function<QString()> pickTemplate);

    QLineEdit* SaveDirEdt = nullptr;   // read-only; set by DirSelectBtn
    QLineEdit* TemptateEdt = nullptr;  // read-only; set by TemplateBtn
    QPushButton* DirSelectBtn = nullptr;
    QPushButton* TemplateBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    QString saveDir() const;
    QString templatePath() const;

    void DirSelectBtnClick();
    void TemplateBtnClick();

private:
    void FormCreate();
    std::function<QString()> pickTemplate_;
};

// The viewer's folder picker (the prompter's folder question): a folder tree
// plus a line for typing a path that does not exist yet.  Returns the path
// (empty on cancel); creating it is up to the caller.
QString PickFolderDialog(QWidget* parent, const QString& start);

} // namespace kovra
