// The small always-on-top window that shows how far the export has come.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kovra {

class TProgForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgForm(QWidget* mainWindow);

    QLabel* aboutlbl = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // The bar runs from 0 to the listing count; set before each show.
    void setListingCount(int count) { listingCount_ = count; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    QWidget* mainWindow_;
    int listingCount_ = 0;
};

} // namespace kovra
