// The rows of the listing browser's table: a view onto the listings of a
// document themselves (no text is copied), one column per field in field
// order, the rows in the order of a search's result.
#pragma once

#include "ListingDocument.h"

#include <QAbstractTableModel>

#include <vector>

namespace kovra {

class TListingTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TListingTableModel(QObject* parent = nullptr);

    // The listings of `document` shown, as 0-based table indices in row order.
    void SetRows(DocumentPtr document, std::vector<int> rows);
    const std::vector<int>& Rows() const { return rows_; }
    const DocumentPtr& Document() const { return document_; }

    // The listing in `row`, -1 outside the rows.
    int ListingAt(int row) const;
    // The row of `listing`, -1 when it is not among the rows.
    int RowOf(int listing) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int listingCount() const;

    DocumentPtr document_;
    std::vector<int> rows_;
    // Row of each listing, made on the first RowOf after a change: a step
    // in the main window asks it once per step.
    mutable std::vector<int> rowOf_;
};

} // namespace kovra
