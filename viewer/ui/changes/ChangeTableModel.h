// The listing browser's rows with the change view's columns after the 94
// fields: 変更, 前回価格 and 価格差 while a comparison is on, and the
// archive's 初回掲載日, 掲載日数 and メモ (前回価格 from the archive when no
// comparison is on).  Rows past the newer file's table are the listings
// gone since the older file, shown from it and greyed.
#pragma once

#include "ListingTableModel.h"

#include "ChangeView.h"

#include <string>
#include <vector>

namespace kovra {

// What the archive knows of each listing of the file on show, in table order.
struct ArchiveColumns {
    DocumentPtr document; // the file the rows belong to
    struct Row {
        std::string firstSeen; // yyyy-mm-dd
        int daysOnMarket = -1;  // -1: never seen
        std::string previousPrice;
        std::string notes; // the newest note, and how many there are
    };
    std::vector<Row> rows;
};
using ArchiveColumnsPtr = std::shared_ptr<const ArchiveColumns>;

class TChangeTableModel : public TListingTableModel {
    Q_OBJECT
public:
    enum Column {
        Kinds = kFieldCount,
        OldPrice,
        PriceDifference,
        FirstSeen,
        DaysOnMarket,
        Notes,
        ColumnEnd,
    };

    explicit TChangeTableModel(QObject* parent = nullptr);

    // Read from now on; the rows are set again after (SetRows).
    void SetChanges(ChangeStatePtr state) { state_ = std::move(state); }
    // Read at once: the rows stay, their archive cells change.
    void SetArchive(ArchiveColumnsPtr archive);
    // The comparison of the rows' document, or null.
    const ChangeState* Changes() const;
    const ArchiveColumns* Archive() const;

    // The row value of the k-th gone listing.
    int GoneRow(std::size_t k) const;
    // The finding of a gone row's value, or null when it is none.
    const changes::Finding* GoneAt(int listing) const;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant changeCell(int listing, int column) const;
    QVariant archiveCell(int listing, int column) const;

    ChangeStatePtr state_;
    ArchiveColumnsPtr archive_;
};

} // namespace kovra
