// The viewer's main window: one listing at a time on seven tabs, the load
// commands, navigation, and the entry to every other command.
#pragma once

#include "ListingDocument.h"
#include "ReportRun.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QAction;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace kovra {

class HtmlExportController;
class TAboutBox;
class TArchiveLink;
class TChangeView;
class THistorySheet;
class TKvSetDlg;
class TListingBrowser;
class TOpenDocument;
class TSeparationForm;
namespace services {
struct TUserSettings;
}

// The support web page, opened from the Help menu and from the about box.
inline constexpr const char* kSupportPageUrl = "https://support.example.com/kovra/";

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Shows the file of `document` and keeps `settings`: reads them from
    // the store now and writes them back when the window ends.
    // `fileArgument` is the program's first command-line argument (may be
    // empty): when given, that file is loaded and listing 1 shown.
    // `reportEngine` prints what the listing browser's sheets print.
    TMainForm(services::TUserSettings& settings, TOpenDocument& document, const QString& fileArgument = QString(),
              QWidget* parent = nullptr, ReportEngine reportEngine = LibraryReportEngine());
    ~TMainForm() override;

    // The other windows of the program, created by the entry point after
    // this one (hidden).  A window not attached is created on first use.
    void AttachWindows(TAboutBox* about, TKvSetDlg* setDlg, TSeparationForm* separation);
    TSeparationForm* SeparationForm();
    TKvSetDlg* KvSetDlg();
    TAboutBox* AboutBox();

    // Loads `path` as the Open command and a dropped file do, and shows
    // listing 1 when the file held listings.  Returns whether it did.
    bool LoadFile(const QString& path);

    // Puts listing `number` (1-based) into the window; does nothing outside
    // 1..ListingCount.  Does not touch DataNumEdit.
    void ShowListing(int number);
    void ApplyMemberVisibility();

    // The number in DataNumEdit, 0 when it holds no number.
    int ShownListingNumber() const;

    // A tagged box that may be dragged to the detached window, by name;
    // nullptr for any other name.  Its tag is the property "kovraTag".
    QLineEdit* TaggedBox(const QString& name) const;
    static int TagOf(const QObject* box);

    // The comparison with an older file that the window, its browser and
    // the "前回のファイルと比較…" command follow (MainFormChanges.cpp).
    void AttachChanges(TChangeView* changes);
    void SetCompareFileChooser(std::function<QString()> chooser) { compareChooser_ = std::move(chooser); }
    // The price line of the listing on show while a comparison is on.
    QLabel* PriceLineLbl = nullptr;
    // The archive: its commands and the 履歴 tab (MainFormArchive.cpp).
    void AttachArchive(TArchiveLink* archive);
    // Which import to compare with (index into `items`, -1: none); the
    // tests choose without the dialog.
    void SetImportChooser(std::function<int(const QStringList&)> chooser) { importChooser_ = std::move(chooser); }
    THistorySheet* HistorySheet = nullptr;

    // The listing browser, created on first use (hidden).
    TListingBrowser* ListingBrowser();
    // The listings the browser has found, while it is open (0-based table
    // indices in its order); nothing else.
    std::optional<std::vector<int>> FoundInBrowser() const;

    // The file dialogs, replaceable so that the tests choose without a modal
    // dialog.  Each returns the chosen path, empty on cancel.
    void SetOpenFileChooser(std::function<QString()> chooser);
    void SetSaveFileChooser(std::function<QString()> chooser);

    // The open dialog with its four filters; the HTML export borrows it.
    QFileDialog* OpenDialog();

public slots:
    void FileOpenMenuClick();
    void CompareMenuClick();
    void ArchiveImportMenuClick();
    void CompareImportMenuClick();
    void EndCompareMenuClick(); // "比較を終了"
    void SaveMemberDelClick();
    void PrintMenuClick();
    void ToolPreViewBtnClick();
    void HTMLH1Click();
    void BrowserMenuClick();
    void ExitMenuClick();
    void KvSetupDlgMenuClick();
    void ChildMenuClick();
    void SupportMenuClick();
    void ReadDocMenuClick();
    void aboutClick();

    void NextDataViewBtnClick();
    void BackDataViewBtnClick();
    void TopDataViewBtnClick();
    void ViewLastDataBtnClick();
    void CmbSetudouHoukouChange(int index);
    void EdtEmailClick();

    // Follows the document: another file on show (its total, title and
    // listing 1), or a run reading it (while it lasts the open and HTML
    // commands are disabled and the window refuses to close).
    void DocumentChanged();

signals:
    // The report commands, raised only while listings are loaded; the report
    // printing connects to them.
    void PrintRequested();
    void PreviewRequested();
    // The browser's print command: the report dialog with the listings found.
    void FoundPrintRequested();
    // A listing was put into the window (1-based), by any command.
    void ListingShown(int number);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QLineEdit* edit = nullptr;
        QPlainTextEdit* memo = nullptr;
        int field = 0;
    };

    void buildWindow();
    void buildMenusAndToolbar();
    QWidget* buildTopRow();
    QWidget* buildBottomPanel();
    QWidget* buildPriceLine();
    // The price line and the changed boxes of listing `number` (1-based).
    void showChange(int number);
    void askHistory();
    QTabWidget* buildTabs();
    QWidget* buildMainSheet();
    QWidget* buildLandSheet();
    QWidget* buildBuildingSheet();
    QWidget* buildLawSheet();
    QWidget* buildMoneySheet();
    QWidget* buildTradeSheet();
    QWidget* buildOtherSheet();

    QLineEdit* addEdit(const char* name, int field, bool readOnly, int tag = 0);
    QPlainTextEdit* addMemo(const char* name, int field, bool readOnly);

    const TListingDocument& shown() const;
    int listingCount() const { return shown().ListingCount; }
    void stepTo(int number);
    void clearListing();
    bool keyPreview(QObject* watched, QKeyEvent* key);
    bool dragFilter(QLineEdit* box, QEvent* event);
    QString pickHtmlTemplate(const QString& current);
    QString runOpenDialog();
    QString runSaveDialog();

    services::TUserSettings& settings_;
    TOpenDocument& document_;
    ReportEngine reportEngine_;
    DocumentPtr shownDocument_; // the document the window shows
    std::vector<Binding> bindings_;
    std::vector<QLineEdit*> taggedBoxes_;

    QLabel* LblGaiyou = nullptr;
    QLabel* DataHighNumLbl = nullptr;
    QLineEdit* DataNumEdit = nullptr;
    QLineEdit* EdtSetudouFukuin = nullptr;
    QLineEdit* EdtEmail = nullptr;
    QComboBox* CmbSetudouHoukou = nullptr;
    QGroupBox* GroupKaiin = nullptr;
    QGroupBox* GroupKaiin2 = nullptr;
    QTabWidget* PageControl = nullptr;

    QAction* FileOpenMenu = nullptr;
    QAction* CompareMenu = nullptr;
    QAction* CompareImportMenu = nullptr;
    QAction* EndCompareMenu = nullptr;
    QAction* ArchiveImportMenu = nullptr;
    QAction* SaveMemberDel = nullptr;
    QAction* PrintMenu = nullptr;
    QAction* PreViewMenu = nullptr;
    QAction* HTMLH1 = nullptr;
    QAction* ExitMenu = nullptr;
    QAction* FileOpenBtn = nullptr;
    QAction* SaveMemDelBtn = nullptr;
    QAction* MakeHtmlBtn = nullptr;
    QAction* ToolPreViewBtn = nullptr;
    QAction* ToolPrintBtn = nullptr;
    QAction* BrowserMenu = nullptr;
    QAction* BrowserBtn = nullptr;

    QFileDialog* openDialog_ = nullptr;
    std::function<QString()> openChooser_;
    std::function<QString()> saveChooser_;
    std::function<QString()> compareChooser_;
    TChangeView* changes_ = nullptr;
    TArchiveLink* archive_ = nullptr;
    std::function<int(const QStringList&)> importChooser_;
    int shownNumber_ = 0; // the listing last put into the window
    std::vector<bool> changedBoxes_; // per binding: shown as changed

    TAboutBox* aboutBox_ = nullptr;
    TKvSetDlg* setDlg_ = nullptr;
    TSeparationForm* separation_ = nullptr;
    HtmlExportController* htmlController_ = nullptr;
    TListingBrowser* browser_ = nullptr;

    QLineEdit* dragSource_ = nullptr;
    QPoint dragStart_;
};

} // namespace kovra
