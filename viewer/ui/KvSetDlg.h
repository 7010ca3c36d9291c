// The settings dialog: the user's own contact data, the member switches and
// where the archive lives.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kovra {

class TArchiveSettingsPage;

namespace services {
struct TUserSettings;
}

class TKvSetDlg : public QDialog {
    Q_OBJECT
public:
    // Shows and changes `settings`.
    explicit TKvSetDlg(services::TUserSettings& settings, QWidget* parent = nullptr);

    // Copies the settings into the controls (at creation and each showing,
    // so edits abandoned with Cancel are gone the next time).
    void FormCreate();

public slots:
    // Copies the controls back into the settings and closes with OK; an
    // archive location it cannot keep (a server URI holding a password)
    // is said, and the dialog stays with nothing changed.  A
    // profile text holding characters the report cannot print (Shift-JIS
    // lacks them) is marked, and a warning names them.
    void OKBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    services::TUserSettings& settings_;
    // Marks `edit` (colour and tooltip) when its text holds characters the
    // report cannot print; returns them (UTF-8, each once).
    static std::string MarkUnprintable(QLineEdit* edit);

    QTabWidget* PageControl = nullptr;
    QLineEdit* EdtUserName = nullptr;
    QLineEdit* EdtYubin = nullptr;
    QLineEdit* EdtJyusyo = nullptr;
    QLineEdit* EdtTel = nullptr;
    QLineEdit* EdtFax = nullptr;
    QLineEdit* EdtEmail = nullptr;
    QLineEdit* EdtHp = nullptr;
    QCheckBox* MemberChk = nullptr;
    QCheckBox* ChkMemberPrt = nullptr;
    QCheckBox* ChkAutoImport = nullptr; // 開いたファイルを自動でアーカイブに取り込む
    TArchiveSettingsPage* ArchiveWhere = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace kovra
