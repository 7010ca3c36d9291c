// The listing browser's market panel: the charts drawn from the found set,
// each kind of trade apart, following the search, picking listings, saved
// as pictures; and the histogram's bins.
#include "UiTestSupport.h"

#include "ListingBrowser.h"
#include "ListingTableModel.h"
#include "MarketPanel.h"
#include "MessageTexts.h"

#include <QBarSet>
#include <QBarSeries>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace kovra::testing {
namespace {

// Guards the bins: a readable width, the lowest value's bin first, the
// highest value inside the last bin, values without a number passed over.
TEST(MarketHistogramTest, BinsHoldEveryValueOnce)
{
    const double none = NAN;
    struct Case {
        std::vector<double> values;
        int wanted;
        double low, width;
        std::vector<int> counts;
    };
    const Case cases[] = {
        {{0.5, 1, 9.99, 10}, 10, 0, 1, {1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1}},
        {{120, 180, none, 260}, 2, 100, 100, {2, 1}},
        {{3300, 3300}, 20, 3300, 1, {2}},
        {{none}, 20, 0, 1, {}},
        {{-5, 5}, 4, -5, 5, {1, 0, 1}}, // 2.5 a bin read as 5
    };
    for (const Case& c : cases) {
        std::vector<int> listings(c.values.size());
        for (std::size_t k = 0; k < listings.size(); ++k)
            listings[k] = static_cast<int>(k);
        const HistogramBins bins = MakeHistogram(c.values, listings, c.wanted);
        EXPECT_DOUBLE_EQ(bins.low, c.low) << c.values.front();
        EXPECT_DOUBLE_EQ(bins.width, c.width) << c.values.front();
        EXPECT_EQ(bins.counts, c.counts) << c.values.front();
        for (std::size_t b = 0; b < bins.counts.size(); ++b)
            EXPECT_EQ(bins.listings[b].size(), static_cast<std::size_t>(bins.counts[b]));
    }
}

class MarketPanelTest : public UiTest {};

// Smoke test of the charts on the bundled sample (sales and rents): the
// panel follows the search, draws one kind at a time with every value of
// that kind in its bars, a bar picks its listings in the browser, and both
// charts are saved as PNG and PDF but never onto the export file.
TEST_F(MarketPanelTest, ChartsFollowTheSearchKindByKind)
{
    const QString sample = QStringLiteral(KOVRA_SOURCE_DIR "/data/samples/sample.txt");
    document_.Load(sample, nullptr);
    TListingBrowser b(document_, settings_);
    b.show();
    b.WaitIdle();
    b.MarketBtn->click();
    b.WaitIdle();
    TMarketPanel* p = b.MarketPanel;
    ASSERT_TRUE(p->isVisible());
    ASSERT_NE(p->View(), nullptr);

    struct Case {
        const char* search;
        int kinds; // charts: sale, rent, others found
    };
    const Case cases[] = {{"", 3}, {"DataSyubetu=賃貸", 1}, {"どこにもない", 0}};
    for (const Case& c : cases) {
        b.SearchEdit->setText(QString::fromUtf8(c.search));
        b.WaitIdle();
        const MarketView* view = p->View();
        ASSERT_NE(view, nullptr) << c.search;
        EXPECT_EQ(static_cast<int>(view->charts.size()), c.kinds) << c.search;
        EXPECT_EQ(p->CmbKind->isVisibleTo(p), c.kinds > 1) << c.search;
        EXPECT_EQ(view->figures.listings.size(), b.Model()->Rows().size()) << c.search;
        const auto* bars = qobject_cast<QBarSeries*>(p->HistogramView->chart()->series().value(0));
        ASSERT_NE(bars, nullptr);
        for (int k = 0; k < c.kinds; ++k) {
            p->CmbKind->setCurrentIndex(k);
            const KindChart* chart = p->ShownChart();
            ASSERT_NE(chart, nullptr);
            // Every bar's listings are of the kind drawn, and they are all of
            // its listings with a 坪単価.
            int drawn = 0, values = 0;
            for (int bin = 0; bin < bars->barSets()[0]->count(); ++bin)
                drawn += static_cast<int>(bars->barSets()[0]->at(bin));
            const std::size_t tubo = static_cast<std::size_t>(
                std::find(view->figures.measures.begin(), view->figures.measures.end(),
                          static_cast<int>(Field::TuboTanka)) - view->figures.measures.begin());
            for (const search::MarketGroup& g : view->figures.groups)
                // One kind found: its groups are not split by kind.
                if (g.whole && (g.kind.empty() || search::TradeKindOf(g.kind) == chart->kind))
                    values += g.figures[tubo].n;
            EXPECT_EQ(drawn, values) << c.search << " kind " << k;
            for (const auto& bin : chart->histogram.listings)
                for (const int listing : bin)
                    EXPECT_EQ(search::TradeKindOf(document_.Document()->ListingTable[static_cast<std::size_t>(listing)].field(Field::DataSyubetu)),
                              chart->kind);
            // A click on the fullest bar selects its listings.
            if (chart->histogram.counts.empty())
                continue; // a kind without a 坪単価
            const auto fullest = std::max_element(chart->histogram.counts.begin(), chart->histogram.counts.end());
            p->PickBar(static_cast<int>(fullest - chart->histogram.counts.begin()));
            EXPECT_EQ(b.SelectedListings(), chart->histogram.listings[fullest - chart->histogram.counts.begin()]);
        }
    }

    b.SearchEdit->clear();
    b.WaitIdle();
    EXPECT_TRUE(p->FiguresText().startsWith(QStringLiteral("kind\tgroup\tmeasure\tcount\tn\t")));
    const QString png = Path(QStringLiteral("charts.png")), pdf = Path(QStringLiteral("charts.pdf"));
    ASSERT_TRUE(p->SaveCharts(png));
    EXPECT_FALSE(QImage(png).isNull());
    ASSERT_TRUE(p->SaveCharts(pdf));
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5).startsWith("%PDF"));
    QFile before(sample);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    EXPECT_FALSE(p->SaveCharts(sample));
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.back().text.toStdString(), msg::OutputIsInput(sample.toStdString()));
    QFile after(sample);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

} // namespace
} // namespace kovra::testing
