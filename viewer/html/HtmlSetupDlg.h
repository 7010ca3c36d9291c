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
    // `pickTemplate` is given the template in the box (empty: none yet) and
    // returns the one chosen (empty on cancel).
    THtmlSetupDlg(QWidget* parent, std::function<QString(const QString& current)> pickTemplate);

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
    std::function<QString(const QString& current)> pickTemplate_;
};

// The pages folder the dialog proposes: the program folder's "HTML", or,
// where the program folder cannot be written (an installed program), the
// documents folder's "HTML".
QString DefaultPagesFolder(const QString& programFolder, const QString& documentsFolder);

// The viewer's folder picker (the prompter's folder question): a folder tree
// plus a line for typing a path that does not exist yet.  Returns the path
// (empty on cancel); creating it is up to the caller.
QString PickFolderDialog(QWidget* parent, const QString& start);

} // namespace kovra
