#include "ArchiveSettingsPage.h"

#include "ArchiveLocation.h"
#include "ArchiveStore.h"
#include "MessageTexts.h"
#include "PgStore.h"
#include "QtText.h"
#include "UserSettings.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

namespace kovra {

TArchiveSettingsPage::TArchiveSettingsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Archive"));
    RadArchiveFile = new QRadioButton(QStringLiteral("ローカルファイル"));
    RadArchiveFile->setObjectName(QStringLiteral("RadArchiveFile"));
    RadArchiveServer = new QRadioButton(QStringLiteral("事務所のサーバー"));
    RadArchiveServer->setObjectName(QStringLiteral("RadArchiveServer"));
    auto* group = new QButtonGroup(this);
    group->addButton(RadArchiveFile);
    group->addButton(RadArchiveServer);
    EdtArchiveFile = new QLineEdit;
    EdtArchiveFile->setObjectName(QStringLiteral("EdtArchiveFile"));
    EdtArchiveFile->setPlaceholderText(q(services::DefaultArchivePath()));
    EdtArchiveServer = new QLineEdit;
    EdtArchiveServer->setObjectName(QStringLiteral("EdtArchiveServer"));
    EdtArchiveServer->setPlaceholderText(QStringLiteral("postgresql://ユーザー@サーバー/データベース"));
    EdtArchiveServer->setMinimumWidth(320);
    BtnArchiveTest = new QPushButton(QStringLiteral("接続テスト"));
    BtnArchiveTest->setObjectName(QStringLiteral("BtnArchiveTest"));
    LblArchiveTest = new QLabel;
    LblArchiveTest->setObjectName(QStringLiteral("LblArchiveTest"));
    LblArchiveTest->setWordWrap(true);
    LblArchiveTest->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout;
    grid->addWidget(RadArchiveFile, 0, 0);
    grid->addWidget(EdtArchiveFile, 0, 1);
    grid->addWidget(RadArchiveServer, 1, 0);
    grid->addWidget(EdtArchiveServer, 1, 1);
    grid->addWidget(BtnArchiveTest, 2, 1, Qt::AlignLeft);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(LblArchiveTest);
    v->addStretch(1);

    connect(RadArchiveFile, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
    connect(EdtArchiveServer, &QLineEdit::textChanged, this, [this] {
        LblArchiveTest->clear();
        UpdateEnabled();
    });
    connect(BtnArchiveTest, &QPushButton::clicked, this, &TArchiveSettingsPage::BtnArchiveTestClick);
    RadArchiveFile->setChecked(true);
    UpdateEnabled();
}

TArchiveSettingsPage::~TArchiveSettingsPage()
{
    // A test still waiting for the server ends within its connect timeout.
    if (test_) {
        test_->wait();
        delete test_;
    }
}

void TArchiveSettingsPage::SetLocation(const std::string& location)
{
    const bool server = archive::IsServerLocation(location);
    (server ? RadArchiveServer : RadArchiveFile)->setChecked(true);
    EdtArchiveServer->setText(server ? q(location) : QString());
    EdtArchiveFile->setText(server ? QString() : q(location));
    LblArchiveTest->clear();
    UpdateEnabled();
}

std::string TArchiveSettingsPage::Location(std::string& problem) const
{
    problem.clear();
    if (RadArchiveFile->isChecked())
        return u8(EdtArchiveFile->text().trimmed());
    const std::string uri = u8(EdtArchiveServer->text().trimmed());
    if (uri.empty())
        problem = msg::kArchiveServerMissing;
    else if (!archive::IsServerLocation(uri))
        problem = msg::kArchiveServerNotUri;
    else if (archive::HasPassword(uri))
        problem = msg::kArchivePasswordInUri;
    return problem.empty() ? uri : std::string();
}

void TArchiveSettingsPage::BtnArchiveTestClick()
{
    if (test_)
        return;
    std::string problem;
    const std::string uri = Location(problem);
    if (!problem.empty()) {
        LblArchiveTest->setText(q(problem));
        emit TestFinished();
        return;
    }
    LblArchiveTest->setText(q(msg::kArchiveTestRunning));
    auto result = std::make_shared<std::string>();
    test_ = QThread::create([uri, result] { *result = archive::TryServerConnect(uri, archive::kPgConnectSeconds); });
    connect(test_, &QThread::finished, this, [this, uri, result] {
        LblArchiveTest->setText(result->empty() ? q(msg::kArchiveTestConnected)
                                                : q(msg::ServerUnreachable(archive::ServerHostOf(uri), *result)));
        test_->deleteLater();
        test_ = nullptr;
        UpdateEnabled();
        emit TestFinished();
    });
    UpdateEnabled();
    test_->start();
}

void TArchiveSettingsPage::UpdateEnabled()
{
    const bool server = RadArchiveServer->isChecked();
    EdtArchiveFile->setEnabled(!server);
    EdtArchiveServer->setEnabled(server);
    BtnArchiveTest->setEnabled(server && !test_ && !EdtArchiveServer->text().trimmed().isEmpty());
}

} // namespace kovra
