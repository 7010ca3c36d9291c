// The print job: ScalPrint and its progress dialog TNowPrintingdlg.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QPushButton;
class QTimer;

namespace dorvex {

class TStartPrintDlg;

struct TPrintJobState {
    bool PrintCancelled = false;
    bool PageRangeGiven = false;
    int PagesLeft = 0;
    bool StartFailed = false; // a file was missing or unnamed: nothing printed
    int SheetsPrinted = 0;
};
TPrintJobState& PrintJob();

class TNowPrintingdlg : public QDialog {
    Q_OBJECT
public:
    TNowPrintingdlg(TStartPrintDlg& startDlg, QWidget* parent = nullptr);
    ~TNowPrintingdlg() override;
    QLabel* PrintMessage;
    QLabel* PageMessage;
    QPushButton* CancelButton;
    QTimer* Timer;

    void PrintStart();
    void CancelButtonClick();
    bool Printing() const { return printing_; }
    // The progress dialog on screen, if any (tests drive it).
    static TNowPrintingdlg* Active();

protected:
    void keyPressEvent(QKeyEvent* event) override; // FormKeyDown
    void reject() override;

private:
    void SetPageMessage(int sheet);
    TStartPrintDlg& startDlg_;
    bool printing_ = false;
};

// ScalPrint with UTF-8 texts; the export converts and calls this.
int16_t ScalPrintUtf8(const std::string& formatFile, const std::string& dataFile, const std::string& message,
                      int32_t paperCode, int32_t orientation, int32_t topMargin, int32_t leftMargin, bool printForm,
                      bool showDialog);

} // namespace dorvex
