// The listing browser's part of the change view: the compare button, the
// quick filter over what changed with its counts, and the change columns.
#include "ListingBrowser.h"

#include "ArchiveLink.h"
#include "ChangeTableModel.h"
#include "ChangeTexts.h"
#include "ChangeView.h"
#include "GoneStep.h"
#include "SearchIndex.h"

#include "MessageTexts.h"
#include "QtText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace kovra {

namespace {

constexpr int kChangeColumns[] = {TChangeTableModel::Kinds, TChangeTableModel::OldPrice,
                                  TChangeTableModel::PriceDifference};
constexpr int kArchiveColumns[] = {TChangeTableModel::FirstSeen, TChangeTableModel::DaysOnMarket,
                                   TChangeTableModel::Notes};

} // namespace

TListingTableModel* TListingBrowser::Model() const { return model_; }

QLayout* TListingBrowser::buildChangeRow()
{
    auto* row = new QHBoxLayout;
    CompareBtn = new QPushButton(q(msg::kCompareWithEarlier));
    CompareBtn->setObjectName(QStringLiteral("CompareBtn"));
    connect(CompareBtn, &QPushButton::clicked, this, &TListingBrowser::CompareRequested);
    row->addWidget(CompareBtn);
    EndCompareBtn = new QPushButton(q(msg::kEndComparison));
    EndCompareBtn->setObjectName(QStringLiteral("EndCompareBtn"));
    EndCompareBtn->setEnabled(false);
    connect(EndCompareBtn, &QPushButton::clicked, this, [this] {
        if (changes_)
            changes_->Stop();
    });
    row->addWidget(EndCompareBtn);
    row->addSpacing(8);
    row->addWidget(new QLabel(q(msg::kChangeColumnKinds)));
    CmbChange = new QComboBox;
    CmbChange->setObjectName(QStringLiteral("CmbChange"));
    CmbChange->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    CmbChange->addItem(q(msg::kAllChanges));
    for (int f = 0; f < changes::kQuickFilterCount; ++f)
        CmbChange->addItem(q(changes::FilterName(static_cast<changes::QuickFilter>(f))));
    CmbChange->setEnabled(false);
    connect(CmbChange, &QComboBox::currentIndexChanged, this, [this] {
        goneStep_->SetActive(goneChosen());
        if (const FoundSet* found = search_.Found())
            setRows(search_.Document(), found->listings);
        // The gone listings are searched by the next search.
        if (goneChosen())
            SearchChange();
    });
    row->addWidget(CmbChange);
    ChangeCountLbl = new QLabel;
    ChangeCountLbl->setObjectName(QStringLiteral("ChangeCountLbl"));
    row->addWidget(ChangeCountLbl);
    row->addStretch(1);
    return row;
}

void TListingBrowser::AttachChanges(TChangeView* changes)
{
    changes_ = changes;
    if (changes_)
        connect(changes_, &TChangeView::Changed, this, &TListingBrowser::changesChanged);
    changesChanged();
}

void TListingBrowser::applyChangeColumns()
{
    QHeaderView* header = ListView->horizontalHeader();
    if (!changeColumnsPlaced_) {
        // 変更 beside the number, the two prices beside the price.
        changeColumnsPlaced_ = true;
        header->moveSection(header->visualIndex(TChangeTableModel::Kinds), 1);
        int after = header->visualIndex(static_cast<int>(Field::Kakaku));
        for (const int column : {static_cast<int>(TChangeTableModel::OldPrice),
                                 static_cast<int>(TChangeTableModel::PriceDifference)}) {
            const int from = header->visualIndex(column);
            if (from > after)
                ++after;
            header->moveSection(from, after);
            after = header->visualIndex(column);
        }
        for (const int column : kChangeColumns)
            header->resizeSection(column, 100);
        header->resizeSection(TChangeTableModel::Kinds, 150);
        header->resizeSection(TChangeTableModel::Notes, 220);
    }
    const bool changed = model_->Changes() != nullptr;
    const bool archived = model_->Archive() != nullptr;
    for (const int column : kChangeColumns)
        header->setSectionHidden(column, !(changed || (archived && column == TChangeTableModel::OldPrice)));
    for (const int column : kArchiveColumns)
        header->setSectionHidden(column, !archived);
}

void TListingBrowser::changesChanged()
{
    const ChangeStatePtr state = changes_ ? changes_->State() : nullptr;
    model_->SetChanges(state);
    goneStep_->SetState(state);
    CmbChange->setEnabled(state != nullptr);
    EndCompareBtn->setEnabled(changes_ && changes_->Older());
    if (!state) {
        const QSignalBlocker block(CmbChange);
        CmbChange->setCurrentIndex(0);
        ChangeCountLbl->clear();
    } else {
        const std::string counts = changes::FilterCounts(state->comparison);
        ChangeCountLbl->setText(q(counts.empty() ? std::string(msg::kNoChangesFound) : counts));
    }
    if (const FoundSet* found = search_.Found())
        setRows(search_.Document(), found->listings);
    else
        setRows(model_->Document(), model_->Rows());
    applyChangeColumns();
    if (state && goneChosen())
        SearchChange();
}

bool TListingBrowser::goneChosen() const
{
    return CmbChange && CmbChange->currentIndex() - 1 == static_cast<int>(changes::QuickFilter::Gone);
}

std::vector<int> TListingBrowser::filterChanges(std::vector<int> found, bool withGone) const
{
    const int choice = CmbChange ? CmbChange->currentIndex() - 1 : -1;
    const ChangeStatePtr state = changes_ ? changes_->State() : nullptr;
    if (choice < 0 || !state || state->after != search_.Document())
        return found;
    const auto filter = static_cast<changes::QuickFilter>(choice);
    std::vector<int> rows;
    if (filter == changes::QuickFilter::Gone) {
        if (!withGone)
            return rows;
        const int count = std::clamp(state->after->ListingCount, 0, static_cast<int>(state->after->ListingTable.size()));
        // Those the search box found among them, once searched; all before.
        const FoundSet* searched = search_.Found();
        const auto* gone = searched && searched->extras.size() > goneStepAt_
                               ? std::any_cast<std::shared_ptr<const GoneFound>>(&searched->extras[goneStepAt_])
                               : nullptr;
        if (gone && *gone && (*gone)->state == state) {
            for (const int k : (*gone)->gone)
                rows.push_back(count + k);
        } else {
            for (std::size_t k = 0; k < state->comparison.gone().size(); ++k)
                rows.push_back(count + static_cast<int>(k));
        }
        return rows;
    }
    for (const int listing : found) {
        const changes::Finding* f = state->ofNew(listing);
        if (f && f->filters[static_cast<std::size_t>(choice)])
            rows.push_back(listing);
    }
    return rows;
}

} // namespace kovra

namespace kovra {

void TListingBrowser::AttachArchive(TArchiveLink* archive)
{
    archive_ = archive;
    if (!archive_)
        return;
    connect(archive_, &TArchiveLink::ColumnsReady, this, [this](const ArchiveColumnsPtr& columns) {
        model_->SetArchive(columns);
        applyChangeColumns();
    });
    // Asked for once the rows are there, and again when an import added to
    // what the archive knows of them.
    connect(&search_, &TBrowserSearch::IndexBuilt, this, &TListingBrowser::askArchiveColumns);
    connect(archive_, &TArchiveLink::Imported, this, &TListingBrowser::askArchiveColumns);
    askArchiveColumns();
}

void TListingBrowser::askArchiveColumns()
{
    if (archive_ && isVisible() && archive_->Usable())
        archive_->AskColumns(search_.Document());
}

} // namespace kovra
