#include "ListingTableModel.h"

#include "FieldCaptions.h"
#include "QtText.h"

#include <algorithm>

namespace kovra {

namespace {

// Prices, areas and minutes read best right-aligned, as numbers do.
bool RightAligned(int field)
{
    switch (static_cast<Field>(field)) {
    case Field::Kakaku:
    case Field::TotiMenseki:
    case Field::TatemonoMenseki:
    case Field::TuboTanka:
    case Field::Toho0:
    case Field::Toho1:
        return true;
    default:
        return false;
    }
}

} // namespace

TListingTableModel::TListingTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TListingTableModel::SetRows(DocumentPtr document, std::vector<int> rows)
{
    beginResetModel();
    document_ = std::move(document);
    rows_ = std::move(rows);
    rowOf_.clear();
    endResetModel();
}

int TListingTableModel::ListingAt(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : -1;
}

int TListingTableModel::listingCount() const
{
    return document_ ? std::min(document_->ListingCount, static_cast<int>(document_->ListingTable.size())) : 0;
}

int TListingTableModel::RowOf(int listing) const
{
    const int count = listingCount();
    if (listing < 0 || listing >= count)
        return -1;
    if (rowOf_.size() != static_cast<std::size_t>(count)) {
        rowOf_.assign(static_cast<std::size_t>(count), -1);
        for (std::size_t r = 0; r < rows_.size(); ++r)
            if (rows_[r] >= 0 && rows_[r] < count)
                rowOf_[static_cast<std::size_t>(rows_[r])] = static_cast<int>(r);
    }
    return rowOf_[static_cast<std::size_t>(listing)];
}

int TListingTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TListingTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kFieldCount; }

QVariant TListingTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return RightAligned(index.column()) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    const int listing = ListingAt(index.row());
    if (listing < 0 || listing >= listingCount())
        return {};
    return q(document_->ListingTable[static_cast<std::size_t>(listing)].field(index.column()));
}

QVariant TListingTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= kFieldCount)
        return {};
    return q(fieldCaption(section));
}

} // namespace kovra
