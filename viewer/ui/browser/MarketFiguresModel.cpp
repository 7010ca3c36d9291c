#include "MarketFiguresModel.h"

#include "FieldColumnTitles.h"
#include "QtText.h"

#include <algorithm>
#include <array>

namespace kovra {

namespace {

const std::array<const char*, 10> kHeads = {"グループ", "項目", "件数", "値あり", "最小",
                                            "25%",      "中央値", "75%", "最大", "平均"};

} // namespace

void TMarketFiguresModel::SetFigures(std::shared_ptr<const search::MarketFigures> figures)
{
    beginResetModel();
    figures_ = std::move(figures);
    kinds_ = figures_ && std::any_of(figures_->groups.begin(), figures_->groups.end(),
                                     [](const search::MarketGroup& g) { return !g.kind.empty(); });
    endResetModel();
}

bool TMarketFiguresModel::kinds() const { return kinds_; }

int TMarketFiguresModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !figures_)
        return 0;
    return static_cast<int>(figures_->groups.size() * figures_->measures.size());
}

int TMarketFiguresModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(kHeads.size()) + (kinds() ? 1 : 0);
}

std::vector<int> TMarketFiguresModel::ListingsOf(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return figures_->groups[static_cast<std::size_t>(row) / figures_->measures.size()].listings;
}

QVariant TMarketFiguresModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t measures = figures_->measures.size();
    const search::MarketGroup& group = figures_->groups[static_cast<std::size_t>(index.row()) / measures];
    const std::size_t m = static_cast<std::size_t>(index.row()) % measures;
    const int column = index.column() - (kinds() ? 1 : 0);
    if (role == Qt::TextAlignmentRole)
        return column >= 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::FontRole && group.whole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    if (column < 0)
        return q(group.kind);
    const search::Figures& f = group.figures[m];
    switch (column) {
    case 0:
        return m == 0 ? q(group.name) : QString();
    case 1:
        return q(fieldColumnTitle(figures_->measures[m]));
    case 2:
        return static_cast<int>(group.listings.size());
    case 3:
        return f.n;
    default:
        break;
    }
    if (f.n == 0)
        return QString();
    const std::array<double, 6> v = {f.min, f.p25, f.median, f.p75, f.max, f.mean};
    return q(search::FigureText(v[static_cast<std::size_t>(column - 4)]));
}

QVariant TMarketFiguresModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (kinds() && section == 0)
        return QStringLiteral("データー種別");
    const int column = section - (kinds() ? 1 : 0);
    return column >= 0 && column < static_cast<int>(kHeads.size()) ? QString::fromUtf8(kHeads[static_cast<std::size_t>(column)])
                                                                    : QVariant();
}

} // namespace kovra
