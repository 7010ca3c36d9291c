// The listing browser's market panel (相場): the figures of the listings
// found, grouped by a field the user picks, a histogram of one measure and
// a scatter plot of price against an area, following the search as it is
// typed.  The worker computes everything (MarketStep.h); the panel shows the
// newest result, and a click on a bar, a point or a row of figures picks
// those listings in the browser.  Sale prices and rents are never drawn in
// one chart: with both found, a choice says which kind is drawn.
#pragma once

#include "MarketStep.h"

#include <QWidget>

#include <functional>
#include <memory>

class QChart;
class QChartView;
class QBarSeries;
class QBarSet;
class QBarCategoryAxis;
class QValueAxis;
class QScatterSeries;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace kovra {

class TMarketFiguresModel;

class TMarketPanel : public QWidget {
    Q_OBJECT
public:
    // Adds its step to `search` and shows every result it hands back.
    explicit TMarketPanel(TBrowserSearch& search, QWidget* parent = nullptr);
    ~TMarketPanel() override;

    // Shows `view` (what the worker made of a found set); null: nothing.
    void Apply(std::shared_ptr<const MarketView> view);
    const MarketView* View() const { return view_.get(); }
    // The listing on show in the main window is marked in the scatter plot.
    void SetShownListing(int listing);

    // The figures as `kovra stats` prints them (TAB-separated), onto the
    // clipboard by the copy button.
    QString FiguresText() const;
    // Both charts as a PNG picture or a one-page PDF (by the name's end),
    // written whole or not at all; never onto the open export file.  False
    // with a message said.
    bool SaveCharts(const QString& path);
    // The save dialog, replaceable so that the tests choose without a
    // modal dialog: returns the path (empty on cancel).
    void SetChartFileChooser(std::function<QString()> chooser) { chartChooser_ = std::move(chooser); }

    // The drawn kind's chart data, or null.
    const KindChart* ShownChart() const;

    QComboBox* CmbGroup = nullptr;
    QComboBox* CmbKind = nullptr;    // shown when the set holds more than one kind
    QComboBox* CmbMeasure = nullptr; // the histogram's measure
    QComboBox* CmbArea = nullptr;    // the scatter plot's area
    QTableView* FiguresView = nullptr;
    QChartView* HistogramView = nullptr;
    QChartView* ScatterView = nullptr;
    QLabel* NoteLbl = nullptr;
    QPushButton* SaveChartsBtn = nullptr;
    QPushButton* CopyFiguresBtn = nullptr;

    // A bar's or a point's listings, as a click picks them.
    void PickBar(int bin);
    void PickPoint(const QPointF& at);

signals:
    // The user picked these listings (0-based table indices).
    void ListingsPicked(const std::vector<int>& listings);
    // The choices changed, or the panel opened: the found set wants
    // computing again.
    void RefreshWanted();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildPanel();
    void choicesChanged();
    void drawCharts();
    void drawShownMark();
    QString runChartDialog();

    TBrowserSearch& search_;
    std::size_t stepIndex_ = 0;
    std::shared_ptr<TMarketStep> step_;
    std::shared_ptr<const MarketView> view_;
    TMarketFiguresModel* model_ = nullptr;
    QChart* histogram_ = nullptr;
    QBarSeries* bars_ = nullptr;
    QBarSet* barSet_ = nullptr;
    QBarCategoryAxis* binAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
    QChart* scatter_ = nullptr;
    QScatterSeries* points_ = nullptr;
    QScatterSeries* shownMark_ = nullptr;
    QValueAxis* areaAxis_ = nullptr;
    QValueAxis* priceAxis_ = nullptr;
    int shownListing_ = -1;
    std::function<QString()> chartChooser_;
};

} // namespace kovra
