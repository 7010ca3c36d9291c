#include "ProgForm.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kovra {

TProgForm::TProgForm(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow)
{
    setWindowTitle(QStringLiteral("進行状況"));
    setModal(false);
    aboutlbl = new QLabel(QStringLiteral("処理内容"), this);
    aboutlbl->setMinimumWidth(380);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(aboutlbl);
    layout->addWidget(ProgressBar1);
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
    if (mainWindow_) {
        adjustSize();
        const QRect main = mainWindow_->frameGeometry();
        move(main.center() - rect().center());
    }
}

void TProgForm::closeEvent(QCloseEvent* event)
{
    // Only the run closes this window (it has no close button; Alt+F4 too
    // must not hide the progress of a running export).
    if (event->spontaneous())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TProgForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return; // a dialog would close on Esc
    QDialog::keyPressEvent(event);
}

} // namespace kovra
