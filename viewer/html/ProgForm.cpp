#include "ProgForm.h"

#include "MessageTexts.h"
#include "QtText.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovra {

TProgForm::TProgForm(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                  Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow)
{
    setWindowTitle(QStringLiteral("進行状況"));
    setModal(false);
    aboutlbl = new QLabel(QStringLiteral("処理内容"), this);
    aboutlbl->setMinimumWidth(380);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    StopBtn = new QPushButton(QStringLiteral("中止"), this);
    StopBtn->setObjectName(QStringLiteral("StopBtn"));
    StopBtn->setAutoDefault(false);
    connect(StopBtn, &QPushButton::clicked, this, &TProgForm::StopBtnClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(aboutlbl);
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(StopBtn);
    layout->addLayout(buttons);
}

void TProgForm::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TProgForm::FormShow()
{
    // The label keeps the last text of an earlier run until the first page
    // of this one is written; only the bar starts again.
    ProgressBar1->setRange(0, listingCount_);
    ProgressBar1->setValue(0);
    StopBtn->setEnabled(true);
    runEnded_ = false;
    if (mainWindow_) {
        adjustSize();
        const QRect main = mainWindow_->frameGeometry();
        move(main.center() - rect().center());
    }
}

void TProgForm::StopBtnClick()
{
    // Asked once; the window stays, showing that the run is ending, until
    // the run closes it.
    if (!StopBtn->isEnabled())
        return;
    StopBtn->setEnabled(false);
    aboutlbl->setText(q(msg::kStoppingExport));
    emit StopRequested();
}

void TProgForm::CloseAfterRun()
{
    runEnded_ = true;
    close();
}

void TProgForm::closeEvent(QCloseEvent* event)
{
    // Only the run closes this window: the close box (Alt+F4 too) stops
    // the run, whose end then closes it.
    if (runEnded_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    StopBtnClick();
}

void TProgForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        StopBtnClick(); // instead of the dialog's own closing
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kovra
