#include "KvSetDlg.h"

#include "ArchiveSettingsPage.h"

#include "Cp932Codec.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "QtText.h"
#include "UserSettings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kovra {

TKvSetDlg::TKvSetDlg(services::TUserSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("KvSetDlg"));
    setWindowTitle(QStringLiteral("ダイアログ"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto edit = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(260);
        return e;
    };
    EdtUserName = edit("EdtUserName");
    EdtYubin = edit("EdtYubin");
    EdtJyusyo = edit("EdtJyusyo");
    EdtTel = edit("EdtTel");
    EdtFax = edit("EdtFax");
    EdtEmail = edit("EdtEmail");
    EdtHp = edit("EdtHp");
    // The texts the report prints (not the home page) show at once what it cannot print.
    for (QLineEdit* e : {EdtUserName, EdtYubin, EdtJyusyo, EdtTel, EdtFax, EdtEmail})
        connect(e, &QLineEdit::textChanged, e, [e] { MarkUnprintable(e); });

    auto* userPage = new QWidget;
    userPage->setObjectName(QStringLiteral("User"));
    {
        auto* grp = new QGroupBox(QStringLiteral("ここに入力した項目は、レポート印刷とHTML化に使用します"));
        auto* form = new QFormLayout(grp);
        form->addRow(QStringLiteral("お名前"), EdtUserName);
        form->addRow(QStringLiteral("郵便番号"), EdtYubin);
        form->addRow(QStringLiteral("住所"), EdtJyusyo);
        form->addRow(QStringLiteral("電話番号"), EdtTel);
        form->addRow(QStringLiteral("FAX番号"), EdtFax);
        form->addRow(QStringLiteral("Email"), EdtEmail);
        form->addRow(QStringLiteral("ホームページ"), EdtHp);
        auto* l = new QVBoxLayout(userPage);
        l->addWidget(grp);
    }

    auto* memberPage = new QWidget;
    memberPage->setObjectName(QStringLiteral("Kaiin"));
    {
        MemberChk = new QCheckBox(QStringLiteral("会員項目を表示する"));
        MemberChk->setObjectName(QStringLiteral("MemberChk"));
        ChkMemberPrt = new QCheckBox(QStringLiteral("会員項目を印刷する"));
        ChkMemberPrt->setObjectName(QStringLiteral("ChkMemberPrt"));
        // Shown for information only: the print switch is not the user's to change.
        ChkMemberPrt->setEnabled(false);
        auto* l = new QVBoxLayout(memberPage);
        l->addWidget(MemberChk);
        l->addWidget(ChkMemberPrt);
        l->addStretch(1);
    }

    auto* archivePage = new QWidget;
    archivePage->setObjectName(QStringLiteral("ArchivePage"));
    {
        ChkAutoImport = new QCheckBox(q(msg::kAutoImportSetting));
        ChkAutoImport->setObjectName(QStringLiteral("ChkAutoImport"));
        ArchiveWhere = new TArchiveSettingsPage;
        auto* l = new QVBoxLayout(archivePage);
        l->addWidget(ArchiveWhere);
        l->addWidget(ChkAutoImport);
        l->addStretch(1);
    }

    PageControl = new QTabWidget;
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    PageControl->addTab(userPage, QStringLiteral("ご利用者情報"));
    PageControl->addTab(memberPage, QStringLiteral("会員項目"));
    PageControl->addTab(archivePage, QStringLiteral("アーカイブ"));

    OKBtn = new QPushButton(QStringLiteral("OK"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TKvSetDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject); // Esc rejects too

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* v = new QVBoxLayout(this);
    v->addWidget(PageControl);
    v->addLayout(buttons);

    FormCreate();
}

void TKvSetDlg::FormCreate()
{
    const services::TUserSettings& s = settings_;
    const services::ProfileTexts& p = s.UserProfile;
    EdtUserName->setText(q(p.Name));
    EdtYubin->setText(q(p.Yubin));
    EdtJyusyo->setText(q(p.Jyusyo));
    EdtTel->setText(q(p.Tel));
    EdtFax->setText(q(p.Fax));
    EdtEmail->setText(q(p.Email));
    EdtHp->setText(q(p.Hp));
    MemberChk->setChecked(s.MemberViewOk);
    ChkMemberPrt->setChecked(s.MemberPrintOk);
    ChkAutoImport->setChecked(s.Archive.AutoImport);
    ArchiveWhere->SetLocation(s.Archive.Location);
}

void TKvSetDlg::showEvent(QShowEvent* event)
{
    FormCreate();
    PageControl->setCurrentIndex(0);
    QDialog::showEvent(event);
}

std::string TKvSetDlg::MarkUnprintable(QLineEdit* edit)
{
    std::string lacking;
    cp932::addLackingCharacters(lacking, edit->text().toStdString());
    edit->setStyleSheet(lacking.empty() ? QString() : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
    edit->setToolTip(lacking.empty() ? QString() : QString::fromStdString(msg::CharactersNotPrinted(lacking)));
    return lacking;
}

void TKvSetDlg::OKBtnClick()
{
    std::string problem;
    const std::string archive = ArchiveWhere->Location(problem);
    if (!problem.empty()) {
        PageControl->setCurrentWidget(ArchiveWhere->parentWidget());
        Say(Tone::Warning, problem, this);
        return;
    }

    // The home page is not printed: only the six printed texts count.
    const std::pair<const char*, QLineEdit*> printed[] = {
        {"お名前", EdtUserName}, {"郵便番号", EdtYubin}, {"住所", EdtJyusyo},
        {"電話番号", EdtTel}, {"FAX番号", EdtFax}, {"Email", EdtEmail},
    };
    std::string warning;
    for (const auto& [caption, edit] : printed)
        if (const std::string lacking = MarkUnprintable(edit); !lacking.empty())
            warning += "\n" + msg::ProfileItemCharacters(caption, lacking);
    if (!warning.empty())
        Say(Tone::Warning, std::string(msg::kProfileCharactersNotPrinted) + warning, this);

    services::TUserSettings& s = settings_;
    services::ProfileTexts& p = s.UserProfile;
    p.Name = u8(EdtUserName->text());
    p.Yubin = u8(EdtYubin->text());
    p.Jyusyo = u8(EdtJyusyo->text());
    p.Tel = u8(EdtTel->text());
    p.Fax = u8(EdtFax->text());
    p.Email = u8(EdtEmail->text());
    p.Hp = u8(EdtHp->text());
    s.MemberViewOk = MemberChk->isChecked();
    s.MemberPrintOk = ChkMemberPrt->isChecked();
    s.Archive.AutoImport = ChkAutoImport->isChecked();
    s.Archive.Location = archive;
    accept();
}

} // namespace kovra
