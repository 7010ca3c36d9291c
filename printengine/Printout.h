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
struct TEngineJob;

class TNowPrintingdlg : public QDialog {
    Q_OBJECT
public:
    // Prints `job` (which outlives the dialog) once shown.
    TNowPrintingdlg(TStartPrintDlg& startDlg, TEngineJob& job, QWidget* parent = nullptr);
    QLabel* PrintMessage;
    QLabel* PageMessage;
    QPushButton* CancelButton;
    QTimer* Timer;

    void PrintStart();
    void CancelButtonClick();
    bool Printing() const { return printing_; }
    TEngineJob& Job() { return job_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void SetPageMessage(int sheet);
    TStartPrintDlg& startDlg_;
    TEngineJob& job_;
    bool printing_ = false;
};

// ScalPrint on `job`, whose file names, caller margins and PrintFormatPages
// are set: the printer prepared, the print dialog (when asked for, or when
// there is nowhere else to print to), then the job under the progress
// dialog.  -1 when the job ran, 0 when nothing was printed: the dialog was
// cancelled, the job aborted, or its files could not be read (said, and
// then neither dialog is shown).
int16_t ScalPrintJob(TEngineJob& job, const std::string& message, int32_t paperCode, int32_t orientation,
                     bool showDialog);

// ScalPrint with UTF-8 texts, as a job of its own; the exports convert and
// call this.  The job goes to the print queue under `jobName`, or under the
// data file's name when that is empty.
int16_t ScalPrintUtf8(const std::string& formatFile, const std::string& dataFile, const std::string& message,
                      int32_t paperCode, int32_t orientation, int32_t topMargin, int32_t leftMargin, bool printForm,
                      bool showDialog, const std::string& jobName = {});

// The name of the file at `utf8Path`, without its folder.
std::string JobNameOfFile(const std::string& utf8Path);

} // namespace dorvex
