// The comparison sheet (比較表) of the listings picked in the browser: one
// column per listing, one row per chosen field, and under every quantity
// the median of the found set's listings of that column's kind of trade.
// The rows are the user's choice, kept in the settings.  It prints and
// previews through the print engine on the form beside the program, A4
// landscape, as the report does.
#pragma once

#include "ListingDocument.h"
#include "ReportRun.h"

#include <QWidget>

#include <memory>
#include <vector>

class QPushButton;
class QTableWidget;

namespace kovra {

namespace search {
class SearchIndex;
struct CompareSheet;
}
namespace services {
struct TUserSettings;
}

// The sheet's rows as the settings name them, or the default rows.
std::vector<int> ChosenCompareRows(const services::TUserSettings& settings);

class TCompareWindow : public QWidget {
    Q_OBJECT
public:
    // `chosen` (2 to 8 listings of `document`) compared against `found`.
    TCompareWindow(DocumentPtr document, std::shared_ptr<const search::SearchIndex> index, std::vector<int> found,
                   std::vector<int> chosen, services::TUserSettings& settings, ReportEngine engine,
                   QWidget* parent = nullptr);
    ~TCompareWindow() override;

    // A field's row shown or not; the choice goes into the settings.
    void SetRowChosen(int field, bool on);
    // Back to the default rows.
    void ResetRows();
    const search::CompareSheet& Sheet() const { return *sheet_; }

    // Prints with the print dialog (its PDF destination among the
    // printers), or previews; false when nothing was printed.
    bool PrintSheet(bool preview);

    QTableWidget* SheetView = nullptr;
    QPushButton* RowsBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* PreviewBtn = nullptr;

private:
    void rebuild();
    void rowsMenu();

    DocumentPtr document_;
    std::shared_ptr<const search::SearchIndex> index_;
    std::vector<int> found_;
    std::vector<int> chosen_;
    services::TUserSettings& settings_;
    ReportEngine engine_;
    std::unique_ptr<search::CompareSheet> sheet_;
};

} // namespace kovra
