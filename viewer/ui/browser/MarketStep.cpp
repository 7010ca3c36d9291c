#include "MarketStep.h"

#include "ListingDocument.h"

#include <algorithm>
#include <cmath>

namespace kovra {

namespace {

// 1, 2 or 5 times a power of ten, at least `raw`.
double ReadableWidth(double raw)
{
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= raw * (1 - 1e-9))
            return step * power;
    return 10 * power;
}

int MeasureIndex(const search::MarketFigures& figures, int field)
{
    const auto it = std::find(figures.measures.begin(), figures.measures.end(), field);
    return it == figures.measures.end() ? -1 : static_cast<int>(it - figures.measures.begin());
}

} // namespace

HistogramBins MakeHistogram(const std::vector<double>& values, const std::vector<int>& listings, int wanted)
{
    HistogramBins bins;
    double lo = INFINITY, hi = -INFINITY;
    for (const double v : values) {
        if (std::isnan(v))
            continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    if (lo > hi)
        return bins;
    bins.width = ReadableWidth((hi - lo) / std::max(1, wanted));
    bins.low = std::floor(lo / bins.width) * bins.width;
    const int count = std::max(1, static_cast<int>(std::floor((hi - bins.low) / bins.width)) + 1);
    bins.counts.assign(static_cast<std::size_t>(count), 0);
    bins.listings.resize(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (std::isnan(values[k]))
            continue;
        const int bin = std::clamp(static_cast<int>(std::floor((values[k] - bins.low) / bins.width)), 0, count - 1);
        ++bins.counts[static_cast<std::size_t>(bin)];
        bins.listings[static_cast<std::size_t>(bin)].push_back(listings[k]);
    }
    return bins;
}

MarketView ComputeMarketView(const TListingDocument& document, const search::SearchIndex& index,
                             std::span<const int> found, const MarketChartRequest& request)
{
    MarketView view;
    view.request = request;
    search::MarketRequest figuresRequest;
    figuresRequest.groupField = request.groupField;
    figuresRequest.separateSaleAndRent = true;
    for (const int field : {static_cast<int>(Field::Kakaku), request.histogramMeasure, request.scatterArea})
        if (std::find(figuresRequest.measures.begin(), figuresRequest.measures.end(), field) ==
            figuresRequest.measures.end())
            figuresRequest.measures.push_back(field);
    view.figures = search::ComputeMarketFigures(document, index, found, figuresRequest);

    const search::MarketFigures& f = view.figures;
    const int histogram = MeasureIndex(f, request.histogramMeasure);
    const int area = MeasureIndex(f, request.scatterArea);
    const int price = MeasureIndex(f, static_cast<int>(Field::Kakaku));
    if (histogram < 0 || area < 0 || price < 0)
        return view;

    for (const search::TradeKind kind : {search::TradeKind::Sale, search::TradeKind::Rent, search::TradeKind::Other}) {
        std::vector<std::size_t> members; // positions in f.listings
        for (std::size_t k = 0; k < f.listings.size(); ++k) {
            const auto& listing = document.ListingTable[static_cast<std::size_t>(f.listings[k])];
            if (search::TradeKindOf(listing.field(Field::DataSyubetu)) == kind)
                members.push_back(k);
        }
        if (members.empty())
            continue;
        KindChart chart;
        chart.kind = kind;
        std::vector<double> values;
        std::vector<int> listings;
        values.reserve(members.size());
        listings.reserve(members.size());
        std::vector<std::size_t> plottable;
        for (const std::size_t k : members) {
            values.push_back(f.values[static_cast<std::size_t>(histogram)][k]);
            listings.push_back(f.listings[k]);
            if (!std::isnan(f.values[static_cast<std::size_t>(area)][k]) &&
                !std::isnan(f.values[static_cast<std::size_t>(price)][k]))
                plottable.push_back(k);
        }
        chart.histogram = MakeHistogram(values, listings, 20);
        chart.plottable = static_cast<int>(plottable.size());
        const std::size_t stride = (plottable.size() + kMaxScatterPoints - 1) / kMaxScatterPoints;
        for (std::size_t j = 0; j < plottable.size(); j += std::max<std::size_t>(1, stride)) {
            const std::size_t k = plottable[j];
            chart.points.push_back({f.values[static_cast<std::size_t>(area)][k],
                                    f.values[static_cast<std::size_t>(price)][k], f.listings[k]});
        }
        view.charts.push_back(std::move(chart));
    }
    return view;
}

void TMarketStep::SetRequest(const MarketChartRequest& request)
{
    const std::lock_guard lock(mutex_);
    request_ = request;
}

std::any TMarketStep::Run(const TListingDocument& document, const search::SearchIndex& index, const search::Query&,
                          std::span<const int> found) const
{
    if (!active_)
        return {};
    MarketChartRequest request;
    {
        const std::lock_guard lock(mutex_);
        request = request_;
    }
    return std::make_shared<const MarketView>(ComputeMarketView(document, index, found, request));
}

} // namespace kovra
