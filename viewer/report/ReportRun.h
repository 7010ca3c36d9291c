// The report commands of the main window: the report dialog, and the run
// that writes the data file and hands it to the print engine.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QRadioButton;
class QPushButton;

namespace kovra {

class DocumentSlot;
namespace services {
struct TUserSettings;
}

// The print engine's side of the report commands: print the written report
// at once, or preview it.  The program uses the engine library's exports
// (LibraryReportEngine); the tests bring their own.
struct ReportEngine {
    std::function<bool()> print;
    std::function<void()> preview;
};
ReportEngine LibraryReportEngine();

// What the report reads: the document on show, the settings, the number
// box, and the listings the listing browser has found (0-based table
// indices in its order; nothing while the browser is not open).
struct ReportContext {
    const DocumentSlot& document;
    const services::TUserSettings& settings;
    std::function<int()> shownListingNumber;
    std::function<std::optional<std::vector<int>>()> foundInBrowser;
    ReportEngine engine;
};

// Which listings a report prints.
enum class ReportRange { Shown, All, Found };

// Writes the report and prints it at once (`print`, without the print
// dialog) or previews it (with the print dialog for printing from there).
void RunReport(QWidget* parent, bool print, ReportRange range, const ReportContext& context);

class TReportSupDlg : public QDialog {
    Q_OBJECT
public:
    TReportSupDlg(QWidget* parent, ReportContext context);

    static constexpr int kPreviewResult = 2; // the result when the preview button ends the dialog

    // 0: the listing on show, 1: all listings, 2: the listings found in the
    // listing browser (offered only while it has found some).
    int RadioPrnSetupIndex() const;
    void SetRadioPrnSetupIndex(int index);

    QRadioButton* RadioShown = nullptr;
    QRadioButton* RadioAll = nullptr;
    QRadioButton* RadioFound = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* PreBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

public slots:
    void OKBtnClick(); // OKBtn and PreBtn

protected:
    void showEvent(QShowEvent* event) override;

private:
    ReportContext context_;
};

} // namespace kovra
