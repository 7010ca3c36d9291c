#include "AboutBox.h"

#include "Icons.h"
#include "MainForm.h"
#include "Prompter.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovra {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Kovra Viewer バージョン情報"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* panel = new QFrame;
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(KovraIcon(IconKind::Program).pixmap(32, 32));

    QFont bold = font();
    bold.setBold(true);
    auto* productName = new QLabel(QStringLiteral("Kovra Viewer"));
    productName->setObjectName(QStringLiteral("ProductName"));
    productName->setFont(bold);
    auto* version = new QLabel(QStringLiteral("1.05"));
    version->setObjectName(QStringLiteral("Version"));
    version->setFont(bold);

    SupportLinkLbl = new QLabel(QString::fromLatin1(kSupportPageUrl));
    SupportLinkLbl->setObjectName(QStringLiteral("SupportLinkLbl"));
    SupportLinkLbl->setCursor(Qt::PointingHandCursor);
    SupportLinkLbl->setMouseTracking(true);
    SupportLinkLbl->installEventFilter(this);
    SupportLinkLbl->setAutoFillBackground(false);

    SupportGrp = new QGroupBox(QStringLiteral("サポートHP"));
    SupportGrp->setObjectName(QStringLiteral("SupportGrp"));
    SupportGrp->setMouseTracking(true);
    SupportGrp->installEventFilter(this);
    {
        auto* l = new QVBoxLayout(SupportGrp);
        l->setContentsMargins(8, 4, 8, 4);
        l->addWidget(SupportLinkLbl, 0, Qt::AlignHCenter);
        l->addWidget(new QLabel(QStringLiteral("---上をクリックして下さい---")), 0, Qt::AlignHCenter);
    }
    setLinkColour(Qt::black);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("Product Name")), 0, 1);
    grid->addWidget(productName, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Version")), 1, 1);
    grid->addWidget(version, 1, 2);
    grid->addWidget(SupportGrp, 2, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* v = new QVBoxLayout(this);
    v->addWidget(panel, 1);
    v->addWidget(ok, 0, Qt::AlignHCenter);

    const QSize hint = sizeHint();
    setFixedSize(std::max(352, hint.width()), std::max(210, hint.height()));
}

void TAboutBox::setLinkColour(const QColor& colour)
{
    QPalette p = SupportLinkLbl->palette();
    p.setColor(QPalette::WindowText, colour);
    SupportLinkLbl->setPalette(p);
}

void TAboutBox::SupportLinkLblClick() { CurrentPrompter().OpenWithShell(kSupportPageUrl); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SupportLinkLbl) {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            setLinkColour(Qt::blue);
        else if (event->type() == QEvent::MouseButtonRelease
                 && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            SupportLinkLblClick();
    } else if (watched == SupportGrp && event->type() == QEvent::MouseMove) {
        // Moves over the link that the label does not take reach the group
        // as well; only a position outside the link means "off the link".
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!SupportLinkLbl->geometry().contains(pos))
            setLinkColour(Qt::black);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kovra
