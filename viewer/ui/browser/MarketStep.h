// The market panel's work on the browser's search worker: for every found
// set the figures of `kovra stats` (sale and rent kept apart), and per kind
// of trade the bins of a histogram and the points of a scatter plot, so the
// window only shows what arrives.
#pragma once

#include "BrowserSearch.h"
#include "MarketFigures.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kovra {

struct MarketChartRequest {
    int groupField = static_cast<int>(Field::BukkennSyumoku); // -1: one group, 全体
    int histogramMeasure = static_cast<int>(Field::TuboTanka);
    int scatterArea = static_cast<int>(Field::TotiMenseki); // against Kakaku
};

// Equal bins from `low`, each `width` wide; a bin holds its lower edge.
struct HistogramBins {
    double low = 0;
    double width = 1;
    std::vector<int> counts;
    std::vector<std::vector<int>> listings; // per bin, 0-based indices
};

struct ScatterPoint {
    double x = 0; // the area
    double y = 0; // the price
    int listing = 0;
};

// At most this many points are drawn per plot; beyond it every k-th listing
// in file order stands for its neighbours.
inline constexpr std::size_t kMaxScatterPoints = 3000;

struct KindChart {
    search::TradeKind kind = search::TradeKind::Sale;
    HistogramBins histogram;
    std::vector<ScatterPoint> points;
    int plottable = 0; // listings with both values (points may show fewer)
};

struct MarketView {
    MarketChartRequest request;
    search::MarketFigures figures;
    std::vector<KindChart> charts; // the kinds in the set: sale, rent, others
};

// Equal bins of a readable width (1, 2 or 5 times a power of ten) over the
// values, about `wanted` of them; NaN values are passed over.
HistogramBins MakeHistogram(const std::vector<double>& values, const std::vector<int>& listings, int wanted);

MarketView ComputeMarketView(const TListingDocument& document, const search::SearchIndex& index,
                             std::span<const int> found, const MarketChartRequest& request);

class TMarketStep final : public FoundSetStep {
public:
    // The panel's choices; a search asked after this uses them.
    void SetRequest(const MarketChartRequest& request);
    // Off while the panel is closed: the step then hands back nothing.
    void SetActive(bool active) { active_ = active; }

    // A std::shared_ptr<const MarketView>, or nothing while inactive.
    std::any Run(const TListingDocument& document, const search::SearchIndex& index, const search::Query& query,
                 std::span<const int> found) const override;

private:
    mutable std::mutex mutex_;
    MarketChartRequest request_;
    std::atomic<bool> active_{false};
};

} // namespace kovra
