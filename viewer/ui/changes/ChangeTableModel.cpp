#include "ChangeTableModel.h"

#include "ChangeSheet.h"
#include "ChangeTexts.h"
#include "MessageTexts.h"
#include "QtText.h"

#include <QColor>

#include <algorithm>

namespace kovra {

namespace {

int TableSize(const DocumentPtr& document)
{
    return document ? std::clamp(document->ListingCount, 0, static_cast<int>(document->ListingTable.size())) : 0;
}

bool Changed(const changes::Finding& f, int field)
{
    return std::find(f.fields.begin(), f.fields.end(), field) != f.fields.end();
}

} // namespace

TChangeTableModel::TChangeTableModel(QObject* parent) : TListingTableModel(parent) {}

const ChangeState* TChangeTableModel::Changes() const
{
    return state_ && state_->after == Document() ? state_.get() : nullptr;
}

const ArchiveColumns* TChangeTableModel::Archive() const
{
    return archive_ && archive_->document == Document() ? archive_.get() : nullptr;
}

void TChangeTableModel::SetArchive(ArchiveColumnsPtr archive)
{
    archive_ = std::move(archive);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnEnd - 1));
}

int TChangeTableModel::GoneRow(std::size_t k) const { return TableSize(Document()) + static_cast<int>(k); }

const changes::Finding* TChangeTableModel::GoneAt(int listing) const
{
    const ChangeState* state = Changes();
    const int k = listing - TableSize(Document());
    if (!state || k < 0 || static_cast<std::size_t>(k) >= state->comparison.gone().size())
        return nullptr;
    return &state->comparison.gone()[static_cast<std::size_t>(k)];
}

int TChangeTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnEnd; }

QVariant TChangeTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int listing = ListingAt(index.row());
    const int column = index.column();
    const changes::Finding* gone = GoneAt(listing);
    const ChangeState* state = Changes();
    const changes::Finding* finding = gone ? gone : state ? state->ofNew(listing) : nullptr;

    if (role == Qt::ForegroundRole && gone)
        return QColor(Qt::gray);
    if (role == Qt::BackgroundRole && finding && column < kFieldCount && !gone
        && ((finding->kinds & changes::New) || Changed(*finding, column)))
        return QColor(255, 243, 176);
    if (role == Qt::TextAlignmentRole && (column == OldPrice || column == PriceDifference || column == DaysOnMarket))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (column < kFieldCount) {
        if (!gone)
            return TListingTableModel::data(index, role);
        if (role != Qt::DisplayRole)
            return {};
        return q(state->before->ListingTable[static_cast<std::size_t>(gone->oldIndex)].field(column));
    }
    if (role != Qt::DisplayRole)
        return {};
    if (column == Kinds || column == PriceDifference || (column == OldPrice && state))
        return changeCell(listing, column);
    return archiveCell(listing, column);
}

QVariant TChangeTableModel::changeCell(int listing, int column) const
{
    const ChangeState* state = Changes();
    if (!state)
        return {};
    const changes::Finding* gone = GoneAt(listing);
    const changes::Finding* f = gone ? gone : state->ofNew(listing);
    if (!f)
        return {};
    if (column == Kinds)
        return q(changes::KindsText(f->kinds));
    if (!(f->kinds & changes::PriceChanged))
        return {};
    const std::string_view before = state->before->ListingTable[static_cast<std::size_t>(f->oldIndex)].Kakaku();
    if (column == OldPrice)
        return q(before);
    return q(changes::DifferenceCell(before, state->after->ListingTable[static_cast<std::size_t>(f->newIndex)].Kakaku()));
}

QVariant TChangeTableModel::archiveCell(int listing, int column) const
{
    const ArchiveColumns* archive = Archive();
    if (!archive || listing < 0 || static_cast<std::size_t>(listing) >= archive->rows.size())
        return {};
    const ArchiveColumns::Row& row = archive->rows[static_cast<std::size_t>(listing)];
    switch (column) {
    case OldPrice:
        return q(row.previousPrice);
    case FirstSeen:
        return q(row.firstSeen);
    case DaysOnMarket:
        return row.daysOnMarket < 0 ? QVariant() : QVariant(row.daysOnMarket);
    case Notes:
        return q(row.notes);
    default:
        return {};
    }
}

QVariant TChangeTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical || section < kFieldCount || role != Qt::DisplayRole)
        return TListingTableModel::headerData(section, orientation, role);
    switch (section) {
    case Kinds:
        return q(msg::kChangeColumnKinds);
    case OldPrice:
        return q(msg::kChangeColumnOldPrice);
    case PriceDifference:
        return q(msg::kChangeColumnPriceDifference);
    case FirstSeen:
        return q(msg::kArchiveColumnFirstSeen);
    case DaysOnMarket:
        return q(msg::kArchiveColumnDaysOnMarket);
    case Notes:
        return q(msg::kArchiveColumnNotes);
    default:
        return {};
    }
}

} // namespace kovra
