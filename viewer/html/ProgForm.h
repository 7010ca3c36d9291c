// The small always-on-top window that shows how far the export has come.
// Its 中止 button, its close box and Esc ask the run to stop.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kovra {

class TProgForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgForm(QWidget* mainWindow);

    QLabel* aboutlbl = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* StopBtn = nullptr;

    // The bar runs from 0 to the listing count; set before each show.
    void setListingCount(int count) { listingCount_ = count; }
    // Closes the window at the run's end; every other close is a stop request.
    void CloseAfterRun();

signals:
    // 中止, the close box or Esc: the run ends after the page being written.
    void StopRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void StopBtnClick();
    QWidget* mainWindow_;
    int listingCount_ = 0;
    bool runEnded_ = false;
};

} // namespace kovra
