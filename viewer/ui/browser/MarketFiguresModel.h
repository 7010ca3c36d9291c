// The market panel's table: one row per group and measure of the figures
// the worker computed, shown as they are, never copied row by row, so even
// thousands of groups appear at once.
#pragma once

#include "MarketFigures.h"

#include <QAbstractTableModel>
#include <QFont>

#include <memory>

namespace kovra {

class TMarketFiguresModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows `figures` (null: nothing); the model keeps them alive.
    void SetFigures(std::shared_ptr<const search::MarketFigures> figures);
    // The listings of the group of `row` (file order), or none.
    std::vector<int> ListingsOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool kinds() const; // a first column for the kind of trade
    std::shared_ptr<const search::MarketFigures> figures_;
    bool kinds_ = false;
};

} // namespace kovra
