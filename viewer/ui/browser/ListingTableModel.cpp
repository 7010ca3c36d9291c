#include "ListingTableModel.h"

#include "FieldCaptions.h"
#include "ListingDocument.h"

#include <algorithm>

namespace kovra {

namespace {

QString Text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

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

void TListingTableModel::SetRows(std::vector<int> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    rowOf_.clear();
    endResetModel();
}

int TListingTableModel::ListingAt(int row) const
{
    return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : -1;
}

int TListingTableModel::RowOf(int listing) const
{
    const int count = Listings().ListingCount;
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
    const TListingDocument& data = Listings();
    const int listing = ListingAt(index.row());
    // A load replaces the table before the rows follow: read nothing stale.
    if (listing < 0 || listing >= data.ListingCount || listing >= static_cast<int>(data.ListingTable.size()))
        return {};
    return Text(data.ListingTable[static_cast<std::size_t>(listing)].field(index.column()));
}

QVariant TListingTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= kFieldCount)
        return {};
    return Text(kFieldCaptionTable[static_cast<std::size_t>(section)].caption);
}

} // namespace kovra
