// TStartPrintDlg: the print dialog of one job.  Where the pages go (one of
// the installed printers, or a PDF file named in the dialog), which pages
// and how many copies.  A dialog of the engine's own, in Japanese, because
// the platform's print dialog offers nothing to choose, or refuses to open,
// where no printer is installed; a PDF file is always one more destination.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace dorvex {

class TStartPrintDlg : public QDialog {
    Q_OBJECT
public:
    // The destinations offered: the installed printers, then a PDF file.
    explicit TStartPrintDlg(const QStringList& printers, QWidget* parent = nullptr);
    TStartPrintDlg();
    ~TStartPrintDlg() override;

    // Lowest and highest page; the range shown first is 1 … highest.
    void SetPages(int highest);
    int MinPage() const { return minPage_; }
    int MaxPage() const { return maxPage_; }
    // Runs the dialog; false when the user cancels it.  On OK the process's
    // printer prints to the chosen destination.
    bool Execute();
    // The dialog's from/to range, when the user chose one.
    bool RangeGiven() const;
    int FromPage() const;
    int ToPage() const;
    // The PDF file chosen, empty when a printer was.
    QString PdfFile() const { return pdfFile_; }
    // The files the job reads (UTF-8 paths): none of them may be the PDF.
    void SetJobFiles(std::vector<std::string> files) { jobFiles_ = std::move(files); }

    QComboBox* DestinationBox;
    QPushButton* PropertiesButton; // the printer's own options
    QLineEdit* FileNameBox;
    QPushButton* BrowseButton;
    QRadioButton* AllPagesButton;
    QRadioButton* RangeButton;
    QSpinBox* FromBox;
    QSpinBox* ToBox;
    QSpinBox* CopiesBox;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // The caption of the PDF destination.
    static QString PdfDestination();

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void DestinationChanged();
    void BrowseButtonClick();
    void PropertiesButtonClick();
    bool PdfChosen() const;
    int minPage_ = 1;
    int maxPage_ = 1;
    QString pdfFile_;
    QString browsedFile_; // overwriting it was agreed in the file box
    std::vector<std::string> jobFiles_;
};

// What a name typed in the file box means: an absolute path ending in
// ".pdf"; a relative name lies in `baseFolder`.  Empty for a blank name.
QString PdfPathFromBox(const QString& typed, const QString& baseFolder);

} // namespace dorvex
