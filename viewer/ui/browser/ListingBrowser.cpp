#include "ListingBrowser.h"

#include "ChangeTableModel.h"
#include "CompareWindow.h"
#include "ListingTableModel.h"
#include "GoneStep.h"
#include "MarketPanel.h"

#include "CompareSheet.h"
#include "DialogFilters.h"
#include "FieldCaptions.h"
#include "FieldNameResolver.h"
#include "FileDialogLook.h"
#include "ListingExport.h"
#include "MemberFields.h"
#include "MessageTexts.h"
#include "OpenDocument.h"
#include "ProgressWindow.h"
#include "WatchedRows.h"
#include "Prompter.h"
#include "QtText.h"
#include "UserSettings.h"
#ifdef KOVRA_XLSX_EXPORT
#include "XlsxExport.h"
#endif

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QStandardPaths>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>
#include <span>
#include <string>

namespace kovra {

namespace {

constexpr int F(Field f) { return static_cast<int>(f); }

// A first width for a column the user never sized: the long texts wider.
int DefaultWidth(int field)
{
    switch (static_cast<Field>(field)) {
    case Field::Syozaitimei:
    case Field::Koutuu:
    case Field::MansyonMei:
        return 220;
    case Field::Bikou:
        return 300;
    case Field::BukkennNum:
    case Field::BukkennSyumoku:
    case Field::TourokuNenGappi:
        return 120;
    default:
        return 90;
    }
}

std::span<const TKovraDataClass> TableOf(const DocumentPtr& document)
{
    if (!document)
        return {};
    const int count = std::clamp(document->ListingCount, 0, static_cast<int>(document->ListingTable.size()));
    return {document->ListingTable.data(), static_cast<std::size_t>(count)};
}

std::vector<int> AllRows(std::size_t count)
{
    std::vector<int> rows(count);
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

// A comparison sheet compares 2 to 8 listings.
bool ComparableCount(std::size_t n)
{
    return n >= static_cast<std::size_t>(search::kCompareMinListings) &&
           n <= static_cast<std::size_t>(search::kCompareMaxListings);
}

// The quick filters choose among the texts of these fields.
const std::vector<Field> kChoiceFields = {Field::DataSyubetu, Field::BukkennSyubetu};

void FillChoices(QComboBox* combo, const std::vector<std::string>& texts)
{
    const QString kept = combo->currentIndex() > 0 ? combo->currentText() : QString();
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItem(q(msg::kAllChoices));
    for (const std::string& text : texts)
        combo->addItem(q(text));
    combo->setCurrentIndex(std::max(0, combo->findText(kept)));
}

} // namespace

std::vector<int> DefaultBrowserColumns()
{
    return {F(Field::BukkennNum),     F(Field::DataSyubetu),     F(Field::BukkennSyubetu), F(Field::BukkennSyumoku),
            F(Field::Kakaku),         F(Field::Syozaitimei),     F(Field::Koutuu),         F(Field::Toho0),
            F(Field::TotiMenseki),    F(Field::TatemonoMenseki), F(Field::HeyaKazu),       F(Field::TikuNengetu),
            F(Field::TourokuNenGappi)};
}

TListingBrowser::TListingBrowser(TOpenDocument& document, services::TUserSettings& settings, ReportEngine reportEngine,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document), settings_(settings), search_(kChoiceFields),
      engine_(std::move(reportEngine))
{
    setObjectName(QStringLiteral("ListingBrowser"));
    setWindowTitle(q(msg::kBrowserTitle));
    buildWindow();
    applyLayout();
    goneStep_ = std::make_shared<TGoneStep>();
    goneStepAt_ = search_.AddStep(goneStep_);
    connect(&document_, &TOpenDocument::Changed, this, &TListingBrowser::documentChanged);
    connect(&search_, &TBrowserSearch::IndexBuilt, this, &TListingBrowser::indexBuilt);
    connect(&search_, &TBrowserSearch::Searched, this, [this] { setRows(search_.Document(), search_.Found()->listings); });
}

TListingBrowser::~TListingBrowser() = default;

void TListingBrowser::buildWindow()
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(4);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("検索")));
    SearchEdit = new QLineEdit;
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setClearButtonEnabled(true);
    SearchEdit->setPlaceholderText(QStringLiteral("言葉をスペースで区切ると、すべてを含む物件を探します"));
    SearchEdit->setToolTip(QStringLiteral("項目名=言葉 と書くと、その項目だけから探します（例: Syozaitimei=港北）"));
    searchRow->addWidget(SearchEdit, 1);
    CountLbl = new QLabel;
    CountLbl->setObjectName(QStringLiteral("CountLbl"));
    CountLbl->setMinimumWidth(CountLbl->fontMetrics().horizontalAdvance(q(msg::FoundCount(1000000, 1000000))) + 8);
    CountLbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    searchRow->addWidget(CountLbl);
    v->addLayout(searchRow);

    auto* filterRow = new QHBoxLayout;
    auto combo = [&](const char* name, const QString& caption) {
        filterRow->addWidget(new QLabel(caption));
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        c->addItem(q(msg::kAllChoices));
        filterRow->addWidget(c);
        connect(c, &QComboBox::currentIndexChanged, this, &TListingBrowser::SearchChange);
        return c;
    };
    auto spin = [&](const char* name, int max, const QString& suffix) {
        auto* s = new QSpinBox;
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(0, max);
        s->setSpecialValueText(QStringLiteral("指定なし"));
        s->setSuffix(suffix);
        s->setGroupSeparatorShown(true);
        filterRow->addWidget(s);
        connect(s, &QSpinBox::valueChanged, this, &TListingBrowser::SearchChange);
        return s;
    };
    CmbDataSyubetu = combo("CmbDataSyubetu", QStringLiteral("データー種別"));
    CmbBukkennSyubetu = combo("CmbBukkennSyubetu", QStringLiteral("物件種別"));
    filterRow->addSpacing(8);
    filterRow->addWidget(new QLabel(QStringLiteral("価格")));
    SpinPriceMin = spin("SpinPriceMin", 9999999, QStringLiteral(" 万円"));
    filterRow->addWidget(new QLabel(QStringLiteral("～")));
    SpinPriceMax = spin("SpinPriceMax", 9999999, QStringLiteral(" 万円"));
    filterRow->addSpacing(8);
    filterRow->addWidget(new QLabel(QStringLiteral("土地面積")));
    SpinAreaMin = spin("SpinAreaMin", 9999999, QStringLiteral(" ㎡"));
    filterRow->addWidget(new QLabel(QStringLiteral("～")));
    SpinAreaMax = spin("SpinAreaMax", 9999999, QStringLiteral(" ㎡"));
    filterRow->addSpacing(8);
    filterRow->addWidget(new QLabel(QStringLiteral("徒歩")));
    SpinTohoMax = spin("SpinTohoMax", 999, QStringLiteral(" 分以内"));
    filterRow->addStretch(1);
    v->addLayout(filterRow);
    v->addLayout(buildChangeRow());

    model_ = new TChangeTableModel(this);
    ListView = new QTableView;
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setModel(model_);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    // More than one row: the listings a comparison sheet compares, or those a
    // chart's bar picked.
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setWordWrap(false);
    ListView->setAlternatingRowColors(true);
    // Every row is one line high: the view need not measure a million rows.
    ListView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView->verticalHeader()->setDefaultSectionSize(ListView->fontMetrics().height() + 6);
    QHeaderView* header = ListView->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this, &TListingBrowser::ListViewHeaderClick);
    connect(header, &QHeaderView::customContextMenuRequested, this, &TListingBrowser::headerMenu);
    connect(ListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { rowChosen(); });
    // The model resets its rows on every search, which clears the selection too.
    connect(ListView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        std::size_t rows = 0; // whole rows are selected: count them by their ranges
        for (const QItemSelectionRange& range : ListView->selectionModel()->selection())
            rows += static_cast<std::size_t>(range.height());
        if (CompareSheetBtn)
            CompareSheetBtn->setEnabled(ComparableCount(rows));
    });
    MarketPanel = new TMarketPanel(search_);
    MarketPanel->hide();
    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("MarketSplit"));
    split->setChildrenCollapsible(false);
    split->addWidget(ListView);
    split->addWidget(MarketPanel);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    v->addWidget(split, 1);
    connect(MarketPanel, &TMarketPanel::RefreshWanted, this, &TListingBrowser::SearchChange);
    connect(MarketPanel, &TMarketPanel::ListingsPicked, this, &TListingBrowser::SelectListings);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    MarketBtn = button("MarketBtn", QStringLiteral("相場(&M)"));
    MarketBtn->setCheckable(true);
    connect(MarketBtn, &QPushButton::toggled, MarketPanel, &QWidget::setVisible);
    CompareSheetBtn = button("CompareSheetBtn", QStringLiteral("比較表(&V)..."));
    CompareSheetBtn->setEnabled(false);
    CompareSheetBtn->setToolTip(QStringLiteral("一覧で 2～8 件の物件を選ぶと、並べて比べられます"));
    connect(CompareSheetBtn, &QPushButton::clicked, this, &TListingBrowser::OpenCompareSheet);
    ExportBtn = button("ExportBtn", QStringLiteral("ファイルに書き出す(&E)..."));
    PrintBtn = button("PrintBtn", QStringLiteral("印刷(&P)..."));
    HtmlBtn = button("HtmlBtn", QStringLiteral("HTMLに出力(&H)..."));
    connect(ExportBtn, &QPushButton::clicked, this, &TListingBrowser::ExportBtnClick);
    connect(PrintBtn, &QPushButton::clicked, this, [this] {
        if (Found() && !model_->Rows().empty())
            emit PrintRequested();
    });
    connect(HtmlBtn, &QPushButton::clicked, this, [this] {
        if (const auto found = Found(); found && !found->empty())
            emit HtmlRequested(*found);
    });
    v->addLayout(buttons);

    connect(SearchEdit, &QLineEdit::textChanged, this, &TListingBrowser::SearchChange);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, [this] {
        SearchEdit->setFocus();
        SearchEdit->selectAll();
    });
}

// ---------------------------------------------------------------- columns

void TListingBrowser::applyLayout()
{
    const services::BrowserLayout& layout = settings_.Browser;
    std::vector<std::pair<int, int>> columns; // field, width
    for (const services::BrowserColumn& c : layout.Columns) {
        const int field = fieldIndex(c.Field);
        if (field >= 0 && std::none_of(columns.begin(), columns.end(), [&](auto& p) { return p.first == field; }))
            columns.emplace_back(field, c.Width);
    }
    if (columns.empty())
        for (const int field : DefaultBrowserColumns())
            columns.emplace_back(field, 0);

    QHeaderView* header = ListView->horizontalHeader();
    chosen_.fill(false);
    // Wide enough for the caption and the sort arrow beside it.
    for (int f = 0; f < kFieldCount; ++f)
        header->resizeSection(f, std::max(DefaultWidth(f), header->fontMetrics().horizontalAdvance(q(fieldCaption(f))) + 28));
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const auto [field, width] = columns[k];
        chosen_[static_cast<std::size_t>(field)] = true;
        header->moveSection(header->visualIndex(field), static_cast<int>(k));
        if (width > 0)
            header->resizeSection(field, width);
    }
    ApplyMemberVisibility();
    resize(layout.Width > 0 ? layout.Width : 1100, layout.Height > 0 ? layout.Height : 640);
}

void TListingBrowser::ApplyMemberVisibility()
{
    const bool members = settings_.MemberViewOk;
    const auto shown = [&](int f) { return chosen_[static_cast<std::size_t>(f)] && (members || !IsMemberField(f)); };
    // A header without a shown column has no height, and its menu is the
    // only way to choose columns: the listing number's column stays then.
    int any = 0;
    for (int f = 0; f < kFieldCount; ++f)
        any += shown(f);
    if (any == 0)
        chosen_[static_cast<std::size_t>(F(Field::BukkennNum))] = true;
    QHeaderView* header = ListView->horizontalHeader();
    for (int f = 0; f < kFieldCount; ++f)
        header->setSectionHidden(f, !shown(f));

    // A hidden member field is not searched either: the index is made
    // afresh without it, or with it again.
    const FieldSet blank = members ? FieldSet() : MemberFields();
    if (blank == search_.BlankFields())
        return;
    search_.SetBlankFields(blank);
    if (!search_.Document())
        return;
    if (isVisible()) {
        startIndex();
    } else {
        search_.SetDocument(nullptr);
        indexStale_ = true;
    }
}

void TListingBrowser::SetColumnChosen(int field, bool on)
{
    if (field < 0 || field >= kFieldCount)
        return;
    chosen_[static_cast<std::size_t>(field)] = on;
    ApplyMemberVisibility();
}

bool TListingBrowser::ColumnShown(int field) const
{
    return field >= 0 && field < kFieldCount && !ListView->horizontalHeader()->isSectionHidden(field);
}

void TListingBrowser::StoreLayout() const
{
    services::BrowserLayout layout;
    const QHeaderView* header = ListView->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int field = header->logicalIndex(visual);
        if (field >= 0 && field < kFieldCount && chosen_[static_cast<std::size_t>(field)])
            layout.Columns.push_back({std::string(kFieldNames[static_cast<std::size_t>(field)]),
                                      header->isSectionHidden(field) ? 0 : header->sectionSize(field)});
    }
    layout.Width = width();
    layout.Height = height();
    layout.ExportFolder = settings_.Browser.ExportFolder;
    settings_.Browser = std::move(layout);
}

void TListingBrowser::headerMenu(const QPoint& at)
{
    QMenu menu(this);
    const bool members = settings_.MemberViewOk;
    for (int f = 0; f < kFieldCount; ++f) {
        if (IsMemberField(f) && !members)
            continue;
        QAction* a = menu.addAction(q(fieldCaption(f)));
        a->setCheckable(true);
        a->setChecked(chosen_[static_cast<std::size_t>(f)]);
        connect(a, &QAction::toggled, this, [this, f](bool on) { SetColumnChosen(f, on); });
    }
    menu.exec(ListView->horizontalHeader()->mapToGlobal(at));
}

// ---------------------------------------------------------------- loads and searches

void TListingBrowser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (indexStale_)
        startIndex();
}

void TListingBrowser::hideEvent(QHideEvent* event)
{
    StoreLayout();
    QWidget::hideEvent(event);
}

void TListingBrowser::documentChanged()
{
    // A run beginning or ending leaves the listings as they are.
    if (document_.Document() == search_.Document())
        return;
    if (isVisible()) {
        startIndex();
        return;
    }
    // Closed: nothing is held for a table nobody looks at; the next opening
    // builds the index afresh.
    search_.SetDocument(nullptr);
    indexStale_ = true;
    setRows(nullptr, {});
}

void TListingBrowser::startIndex()
{
    indexStale_ = false;
    const DocumentPtr document = document_.Document();
    // All rows at once in file order, before the worker starts on the index
    // (the two would only slow each other); the search takes over when the
    // index is there.
    search_.SetDocument(nullptr);
    setRows(document, AllRows(TableOf(document).size()));
    search_.SetDocument(document);
}

void TListingBrowser::indexBuilt()
{
    FillChoices(CmbDataSyubetu, search_.Choices(0));
    FillChoices(CmbBukkennSyubetu, search_.Choices(1));
    startSearch();
}

search::QueryDescription TListingBrowser::description() const
{
    search::QueryDescription d;
    d.text = u8(SearchEdit->text());
    auto choice = [&](QComboBox* c, Field f) {
        if (c->currentIndex() > 0)
            d.equal.push_back({F(f), u8(c->currentText())});
    };
    choice(CmbDataSyubetu, Field::DataSyubetu);
    choice(CmbBukkennSyubetu, Field::BukkennSyubetu);
    auto bound = [&](QSpinBox* s, Field f, bool upper) {
        if (s->value() > 0)
            d.bounds.push_back({F(f), static_cast<double>(s->value()), upper});
    };
    bound(SpinPriceMin, Field::Kakaku, false);
    bound(SpinPriceMax, Field::Kakaku, true);
    bound(SpinAreaMin, Field::TotiMenseki, false);
    bound(SpinAreaMax, Field::TotiMenseki, true);
    bound(SpinTohoMax, Field::Toho0, true);
    if (sortKey_)
        d.sort.push_back(*sortKey_);
    return d;
}

void TListingBrowser::SearchChange()
{
    if (search_.Index())
        startSearch();
}

void TListingBrowser::startSearch()
{
    const int generation = search_.Search(description());
    // A long search at a million listings says so; a quick one never flickers.
    QTimer::singleShot(150, this, [this, generation] {
        if (generation == search_.LatestGeneration() && search_.Busy())
            CountLbl->setText(q(msg::kSearching));
    });
}

void TListingBrowser::setRows(DocumentPtr document, std::vector<int> rows)
{
    const bool wasSyncing = syncing_;
    syncing_ = true;
    model_->SetRows(std::move(document), filterChanges(std::move(rows), true));
    // The listing on show in the main window stays selected when it was found.
    const int row = model_->RowOf(shownListing_);
    if (row >= 0)
        selectOnlyRow(row);
    syncing_ = wasSyncing;
    updateCount();
}

void TListingBrowser::updateCount()
{
    const int total = static_cast<int>(TableOf(model_->Document()).size());
    // A FIELD=TEXT whose field is unknown finds nothing: say which name
    // was not known rather than 0 件.
    const std::vector<std::string> unknown = search::UnknownFieldNames(u8(SearchEdit->text()));
    CountLbl->setStyleSheet(unknown.empty() ? QString() : QStringLiteral("color: #c00000"));
    if (!unknown.empty())
        CountLbl->setText(q(msg::UnknownSearchField(unknown.front())));
    else if (!search_.Index() && total > 0)
        CountLbl->setText(q(msg::kBuildingIndex));
    else
        CountLbl->setText(q(msg::FoundCount(static_cast<int>(model_->Rows().size()), total)));
}

void TListingBrowser::ListViewHeaderClick(int column)
{
    if (column < 0 || column >= kFieldCount)
        return;
    if (sortKey_ && sortKey_->field == column)
        sortKey_->descending = !sortKey_->descending;
    else
        sortKey_ = search::SortKey{column, false};
    QHeaderView* header = ListView->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, sortKey_->descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    SearchChange();
}

std::optional<std::vector<int>> TListingBrowser::Found() const
{
    if (!isVisible() || !search_.Found() || search_.Busy())
        return std::nullopt;
    return filterChanges(search_.Found()->listings, false);
}

// ---------------------------------------------------------------- the main window

void TListingBrowser::rowChosen()
{
    if (syncing_)
        return;
    const int listing = model_->ListingAt(ListView->selectionModel()->currentIndex().row());
    // A gone listing is only in the older file: the main window cannot show it.
    if (listing < 0 || listing >= static_cast<int>(TableOf(model_->Document()).size()))
        return;
    shownListing_ = listing;
    MarketPanel->SetShownListing(listing);
    // The main window answers with ShowNumber at once, while the view is
    // still between moving to the row and selecting it (a Ctrl-click adds
    // the row after this): the selection is the view's to make.
    const bool wasChoosing = choosing_;
    choosing_ = true;
    emit ListingChosen(listing + 1);
    choosing_ = wasChoosing;
}

void TListingBrowser::ShowNumber(int number)
{
    shownListing_ = number - 1;
    MarketPanel->SetShownListing(shownListing_);
    if (choosing_)
        return; // the row the user clicked: the view selects it
    const int row = model_->RowOf(shownListing_);
    const bool wasSyncing = syncing_;
    syncing_ = true;
    if (row >= 0) {
        if (!ListView->selectionModel()->isRowSelected(row, {}))
            selectOnlyRow(row);
        ListView->scrollTo(model_->index(row, ListView->horizontalHeader()->logicalIndex(0)));
    } else {
        // The current row goes too: a click on it must still be a change
        // of row, or the main window would not follow it.
        ListView->selectionModel()->clearCurrentIndex();
        ListView->clearSelection();
    }
    syncing_ = wasSyncing;
}

void TListingBrowser::selectOnlyRow(int row)
{
    // Not QTableView::selectRow, which reads the keys held down: a capital
    // typed into the search box would extend the selection.
    ListView->selectionModel()->setCurrentIndex(model_->index(row, ListView->horizontalHeader()->logicalIndex(0)),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<int> TListingBrowser::SelectedListings() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : ListView->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    // Rows past the table are listings gone since the older file: not these.
    const int count = static_cast<int>(TableOf(model_->Document()).size());
    std::vector<int> listings;
    for (const int row : rows)
        if (const int listing = model_->ListingAt(row); listing >= 0 && listing < count)
            listings.push_back(listing);
    return listings;
}

void TListingBrowser::SelectListings(const std::vector<int>& listings)
{
    std::vector<int> rows;
    for (const int listing : listings)
        if (const int row = model_->RowOf(listing); row >= 0)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    // Neighbouring rows as one range: a bar of thousands selects at once.
    QItemSelection selection;
    const int last = model_->columnCount() - 1;
    for (std::size_t k = 0; k < rows.size();) {
        std::size_t e = k;
        while (e + 1 < rows.size() && rows[e + 1] <= rows[e] + 1)
            ++e;
        selection.append(QItemSelectionRange(model_->index(rows[k], 0), model_->index(rows[e], last)));
        k = e + 1;
    }
    const bool wasSyncing = syncing_;
    syncing_ = true;
    ListView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.empty())
        ListView->scrollTo(model_->index(rows.front(), ListView->horizontalHeader()->logicalIndex(0)));
    syncing_ = wasSyncing;
}

QWidget* TListingBrowser::OpenCompareSheet()
{
    const std::vector<int> chosen = SelectedListings();
    const FoundSet* found = search_.Found();
    if (!found || !search_.Index() || !search_.Document())
        return nullptr;
    if (!ComparableCount(chosen.size()))
        return nullptr;
    auto* sheet = new TCompareWindow(search_.Document(), search_.Index(), found->listings, chosen, settings_, engine_, this);
    sheet->show();
    return sheet;
}

// ---------------------------------------------------------------- export

QString ProposedExportName(const QDate& day, bool xlsx)
{
    return QStringLiteral("物件一覧_") + day.toString(QStringLiteral("yyyyMMdd"))
           + (xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv"));
}

QString TListingBrowser::runExportDialog()
{
#ifdef KOVRA_XLSX_EXPORT
    const QStringList filters = services::ListingExportFilters(true);
#else
    const QStringList filters = services::ListingExportFilters(false);
#endif
    const bool xlsx = filters.size() > 1;
    QFileDialog d(this);
    d.setObjectName(QStringLiteral("ExportDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    MakeFileDialogJapanese(d);
    d.setNameFilters(filters);
    QString folder = q(settings_.Browser.ExportFolder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    d.setDirectory(folder);
    d.selectNameFilter(filters.value(xlsx ? 1 : 0));
    d.setDefaultSuffix(xlsx ? QStringLiteral("xlsx") : QStringLiteral("csv"));
    d.selectFile(ProposedExportName(QDate::currentDate(), xlsx));
    // Another format: the proposed name follows it, unless the user typed one.
    connect(&d, &QFileDialog::filterSelected, &d, [&d, filters](const QString& filter) {
        const bool toXlsx = filter == filters.value(1);
        d.setDefaultSuffix(toXlsx ? QStringLiteral("xlsx") : QStringLiteral("csv"));
        if (auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name && name->text() == ProposedExportName(QDate::currentDate(), !toXlsx))
            name->setText(ProposedExportName(QDate::currentDate(), toXlsx));
    });
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

void TListingBrowser::ExportBtnClick()
{
    const std::optional<std::vector<int>> found = Found();
    if (!found || found->empty())
        return;
    const DocumentPtr& document = search_.Document();
    const std::string file = document ? document->CurrentFileName : std::string();
    // A file the export must not replace (the export file itself) is
    // refused and the dialog comes back for another name.
    for (;;) {
        const QString path = exportChooser_ ? exportChooser_() : runExportDialog();
        if (path.isEmpty())
            return;
        settings_.Browser.ExportFolder = u8(QFileInfo(path).absolutePath());
        search::SheetWriter write = search::WriteCsv;
#ifdef KOVRA_XLSX_EXPORT
        if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
            write = search::WriteXlsx;
#endif
        // What the search did not see is not written either.
        const FieldSet blank = search_.IndexBlankFields();
        const DocumentPtr held = document; // the rows' document, whatever the browser shows meanwhile
        search::ExportOutcome out;
        const bool finished = RunWithProgress(this, QStringLiteral("物件一覧を書き出しています..."),
                                              [&](WorkProgress& progress) {
            const search::ListingRows rows(TableOf(held), *found, blank);
            // The XLSX writer reads the rows twice: for its shared texts, then for the sheet.
            const int passes = write == search::WriteCsv ? 1 : 2;
            out = search::ExportSheet(search::WatchedRows(rows, progress, passes), write, u8(path),
                                      fileio::JobInputs{file});
        });
        if (!finished && !out.ok)
            return; // stopped: no file, the old one whole, nothing to say
        if (!out.ok) {
            Say(Tone::Error, out.message, this);
            if (out.outputIsInput)
                continue;
            return;
        }
        std::string text = msg::ListingsExported(out.rows, u8(path));
        if (out.shortenedCells > 0)
            text += "\n" + msg::CellsShortened(out.shortenedCells);
        Say(Tone::Information, text, this);
        return;
    }
}

} // namespace kovra
