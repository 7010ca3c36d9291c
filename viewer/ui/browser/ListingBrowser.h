// The listing browser (物件一覧): every listing of the open file as one row
// of a table, narrowed as the user types and by quick filters, sorted by a
// click on a column's header.  The listings it has found can be shown in
// the main window, exported, printed and written as HTML pages.  The search
// runs off the GUI thread (BrowserSearch.h), so a million listings never
// hold up the window; the window only shows.
#pragma once

#include "BrowserSearch.h"
#include "ReportRun.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDate;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace kovra {

class TArchiveLink;
class TChangeTableModel;
class TChangeView;
class TGoneStep;
class TListingTableModel;
class TMarketPanel;
class TOpenDocument;
namespace services {
struct TUserSettings;
}

// The name the export's dialog proposes: "物件一覧_YYYYMMDD.xlsx" (".csv").
QString ProposedExportName(const QDate& day, bool xlsx);

// The columns a new user sees, left to right.
std::vector<int> DefaultBrowserColumns();

class TListingBrowser : public QWidget {
    Q_OBJECT
public:
    // Lists the listings of `document` (following it to every new file)
    // with the columns and member setting of `settings`; its comparison
    // sheets print through `reportEngine`.
    TListingBrowser(TOpenDocument& document, services::TUserSettings& settings,
                    ReportEngine reportEngine = LibraryReportEngine(), QWidget* parent = nullptr);
    ~TListingBrowser() override;

    // Blocks until the search has done all it was asked and the results
    // are shown.
    void WaitIdle() { search_.WaitIdle(); }
    // True while the index is built or a search runs.
    bool Busy() const { return search_.Busy(); }

    // The main window shows listing `number` (1-based): select its row when
    // it is among the rows.
    void ShowNumber(int number);

    // The listings found (0-based table indices in the table's order), or
    // nothing while the window is closed or still searching.
    std::optional<std::vector<int>> Found() const;

    // The member columns follow the member-display setting.
    void ApplyMemberVisibility();
    // Puts the columns and the window's size into the settings.
    void StoreLayout() const;
    // The header's context menu: a field's column shown or hidden.
    void SetColumnChosen(int field, bool on);
    bool ColumnShown(int field) const;

    // The export's file dialog, replaceable so that the tests choose
    // without a modal dialog: returns the path (empty on cancel).
    void SetExportFileChooser(std::function<QString()> chooser) { exportChooser_ = std::move(chooser); }
    // Where the comparison sheet prints (the library's engine; a test's own).
    // Opens the comparison sheet of the selected listings; null unless 2 to
    // 8 are selected (the button is enabled only then).
    QWidget* OpenCompareSheet();

    QLineEdit* SearchEdit = nullptr;
    QComboBox* CmbDataSyubetu = nullptr;
    QComboBox* CmbBukkennSyubetu = nullptr;
    QSpinBox* SpinPriceMin = nullptr; // 万円; 0: no bound
    QSpinBox* SpinPriceMax = nullptr;
    QSpinBox* SpinAreaMin = nullptr; // ㎡ of land
    QSpinBox* SpinAreaMax = nullptr;
    QSpinBox* SpinTohoMax = nullptr; // minutes on foot
    QLabel* CountLbl = nullptr;
    QTableView* ListView = nullptr;
    QPushButton* ExportBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* HtmlBtn = nullptr;

    TListingTableModel* Model() const;

    // The change view: its columns, its quick filter and counts follow
    // `changes` from now on (ListingBrowserChanges.cpp).
    void AttachChanges(TChangeView* changes);
    // The archive's columns (初回掲載日, 掲載日数, 前回価格, メモ) from `archive`.
    void AttachArchive(TArchiveLink* archive);
    QPushButton* CompareBtn = nullptr;
    QPushButton* EndCompareBtn = nullptr; // "比較を終了"
    QComboBox* CmbChange = nullptr; // すべて, then the quick filters in their order
    QLabel* ChangeCountLbl = nullptr;

    QPushButton* MarketBtn = nullptr; // shows and hides the market panel
    QPushButton* CompareSheetBtn = nullptr; // the selected listings' comparison sheet (比較表)
    TMarketPanel* MarketPanel = nullptr;

    // The listings whose rows are selected (0-based, in the table's order).
    std::vector<int> SelectedListings() const;
    // Selects the rows of `listings` (those found), the first scrolled to.
    void SelectListings(const std::vector<int>& listings);

public slots:
    void SearchChange();                 // any search box or quick filter
    void ListViewHeaderClick(int column); // sorts, or turns the order round
    void ExportBtnClick();

signals:
    void ListingChosen(int number); // 1-based
    void PrintRequested();
    void HtmlRequested(const std::vector<int>& listings);
    void CompareRequested(); // "前回のファイルと比較…"

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildWindow();
    void applyLayout();
    void headerMenu(const QPoint& at);
    void rowChosen();
    void selectOnlyRow(int row);
    void documentChanged();
    void startIndex();
    void indexBuilt();
    void startSearch();
    void updateCount();
    void setRows(DocumentPtr document, std::vector<int> rows);
    search::QueryDescription description() const;
    QLayout* buildChangeRow();
    void changesChanged();
    void askArchiveColumns();
    void applyChangeColumns();
    // `found` narrowed by the change view's quick filter (the gone listings
    // for 消滅, as rows past the table when `withGone`).
    std::vector<int> filterChanges(std::vector<int> found, bool withGone) const;
    bool goneChosen() const; // the quick filter is 消滅
    QString runExportDialog();

    TOpenDocument& document_;
    services::TUserSettings& settings_;
    TBrowserSearch search_;
    TChangeTableModel* model_ = nullptr;
    TChangeView* changes_ = nullptr;
    std::shared_ptr<TGoneStep> goneStep_; // the 消滅 filter under the search box
    std::size_t goneStepAt_ = 0;          // its results in FoundSet::extras
    TArchiveLink* archive_ = nullptr;
    bool changeColumnsPlaced_ = false;
    int shownListing_ = -1; // the listing on show in the main window
    bool indexStale_ = true;
    bool syncing_ = false;  // the selection follows the main window
    bool choosing_ = false; // the main window follows a row the user chose
    std::optional<search::SortKey> sortKey_;
    std::array<bool, 94> chosen_{}; // the columns the user wants
    std::function<QString()> exportChooser_;
    ReportEngine engine_;
};

} // namespace kovra
