#include "MarketPanel.h"

#include "MarketFiguresModel.h"

#include "FieldCaptions.h"
#include "FieldColumnTitles.h"
#include "FileDialogLook.h"
#include "FileIO.h"
#include "MemberFields.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "QtText.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSplitter>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kovra {

namespace {

constexpr int F(Field f) { return static_cast<int>(f); }

QString KindCaption(search::TradeKind kind)
{
    switch (kind) {
    case search::TradeKind::Sale:
        return QStringLiteral("売買");
    case search::TradeKind::Rent:
        return QStringLiteral("賃貸");
    default:
        return QStringLiteral("その他");
    }
}

// The fields a broker groups by most, first; then every other field but
// the member items, which the member display may hide.
std::vector<int> GroupChoices()
{
    std::vector<int> fields = {F(Field::BukkennSyumoku), F(Field::Syozaitimei),   F(Field::Koutuu),
                               F(Field::DataSyubetu),    F(Field::BukkennSyubetu), F(Field::YoutoTiiki)};
    for (int f = 0; f < kFieldCount; ++f)
        if (!IsMemberField(f) && std::find(fields.begin(), fields.end(), f) == fields.end())
            fields.push_back(f);
    return fields;
}

QChartView* MakeChartView(QChart* chart, const char* name)
{
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(260, 200);
    return view;
}

} // namespace

TMarketPanel::TMarketPanel(TBrowserSearch& search, QWidget* parent)
    : QWidget(parent), search_(search), step_(std::make_shared<TMarketStep>())
{
    setObjectName(QStringLiteral("MarketPanel"));
    stepIndex_ = search_.AddStep(step_);
    buildPanel();
    choicesChanged();
    connect(&search_, &TBrowserSearch::Searched, this, [this] {
        const FoundSet* found = search_.Found();
        if (!found || found->extras.size() <= stepIndex_)
            return;
        const std::any& extra = found->extras[stepIndex_];
        if (const auto* view = std::any_cast<std::shared_ptr<const MarketView>>(&extra))
            Apply(*view);
    });
    connect(&search_, &TBrowserSearch::IndexBuilt, this, [this] { Apply(nullptr); });
}

TMarketPanel::~TMarketPanel() { step_->SetActive(false); }

void TMarketPanel::buildPanel()
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);

    auto* choices = new QHBoxLayout;
    auto combo = [&](const char* name, const QString& caption) {
        if (!caption.isEmpty())
            choices->addWidget(new QLabel(caption));
        auto* c = new QComboBox;
        c->setObjectName(QString::fromLatin1(name));
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        choices->addWidget(c);
        return c;
    };
    CmbGroup = combo("CmbGroup", QStringLiteral("グループ"));
    CmbGroup->addItem(q(msg::kWholeGroup), -1);
    for (const int f : GroupChoices())
        CmbGroup->addItem(q(fieldCaption(f)), f);
    CmbGroup->setCurrentIndex(1); // 物件種目
    CmbGroup->setMaxVisibleItems(20);
    choices->addSpacing(12);
    CmbKind = combo("CmbKind", QString());
    CmbMeasure = combo("CmbMeasure", QStringLiteral("ヒストグラム"));
    for (const int f : search::DefaultMeasures())
        CmbMeasure->addItem(q(fieldColumnTitle(f)), f);
    CmbMeasure->setCurrentIndex(CmbMeasure->findData(F(Field::TuboTanka)));
    CmbArea = combo("CmbArea", QStringLiteral("散布図 価格 ×"));
    CmbArea->addItem(q(fieldColumnTitle(F(Field::TotiMenseki))), F(Field::TotiMenseki));
    CmbArea->addItem(q(fieldColumnTitle(F(Field::TatemonoMenseki))), F(Field::TatemonoMenseki));
    choices->addStretch(1);
    SaveChartsBtn = new QPushButton(QStringLiteral("図を保存(&G)..."));
    SaveChartsBtn->setObjectName(QStringLiteral("SaveChartsBtn"));
    CopyFiguresBtn = new QPushButton(QStringLiteral("表をコピー(&C)"));
    CopyFiguresBtn->setObjectName(QStringLiteral("CopyFiguresBtn"));
    choices->addWidget(SaveChartsBtn);
    choices->addWidget(CopyFiguresBtn);
    v->addLayout(choices);

    model_ = new TMarketFiguresModel(this);
    FiguresView = new QTableView;
    FiguresView->setObjectName(QStringLiteral("FiguresView"));
    FiguresView->setModel(model_);
    FiguresView->setSelectionBehavior(QAbstractItemView::SelectRows);
    FiguresView->setSelectionMode(QAbstractItemView::SingleSelection);
    FiguresView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FiguresView->setWordWrap(false);
    FiguresView->verticalHeader()->hide();
    FiguresView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FiguresView->verticalHeader()->setDefaultSectionSize(FiguresView->fontMetrics().height() + 4);
    FiguresView->horizontalHeader()->setDefaultSectionSize(72);
    FiguresView->setToolTip(QStringLiteral("行をダブルクリックすると、そのグループの物件を選びます"));
    connect(FiguresView, &QTableView::activated, this,
            [this](const QModelIndex& index) { emit ListingsPicked(model_->ListingsOf(index.row())); });

    histogram_ = new QChart;
    bars_ = new QBarSeries;
    bars_->setBarWidth(0.95);
    barSet_ = new QBarSet(QStringLiteral("件数"));
    bars_->append(barSet_);
    histogram_->addSeries(bars_);
    binAxis_ = new QBarCategoryAxis;
    binAxis_->setLabelsAngle(-90);
    binAxis_->setTruncateLabels(false); // a bin's lower edge, short enough to stand whole
    countAxis_ = new QValueAxis;
    countAxis_->setLabelFormat(QStringLiteral("%d"));
    histogram_->addAxis(binAxis_, Qt::AlignBottom);
    histogram_->addAxis(countAxis_, Qt::AlignLeft);
    bars_->attachAxis(binAxis_);
    bars_->attachAxis(countAxis_);
    HistogramView = MakeChartView(histogram_, "HistogramView");
    connect(bars_, &QBarSeries::clicked, this, [this](int index, QBarSet*) { PickBar(index); });

    scatter_ = new QChart;
    points_ = new QScatterSeries;
    points_->setMarkerSize(6);
    points_->setBorderColor(Qt::transparent);
    shownMark_ = new QScatterSeries;
    shownMark_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    shownMark_->setMarkerSize(13);
    shownMark_->setColor(QColor(220, 40, 40));
    scatter_->addSeries(points_);
    scatter_->addSeries(shownMark_);
    areaAxis_ = new QValueAxis;
    priceAxis_ = new QValueAxis;
    areaAxis_->setLabelFormat(QStringLiteral("%.0f"));
    priceAxis_->setLabelFormat(QStringLiteral("%.0f"));
    scatter_->addAxis(areaAxis_, Qt::AlignBottom);
    scatter_->addAxis(priceAxis_, Qt::AlignLeft);
    for (QScatterSeries* s : {points_, shownMark_}) {
        s->attachAxis(areaAxis_);
        s->attachAxis(priceAxis_);
    }
    ScatterView = MakeChartView(scatter_, "ScatterView");
    connect(points_, &QScatterSeries::clicked, this, &TMarketPanel::PickPoint);

    auto* split = new QSplitter(Qt::Horizontal);
    split->setChildrenCollapsible(false);
    split->addWidget(FiguresView);
    split->addWidget(HistogramView);
    split->addWidget(ScatterView);
    split->setSizes({540, 420, 420}); // the charts as wide as the figures, near enough
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 3);
    split->setStretchFactor(2, 3);
    v->addWidget(split, 1);
    NoteLbl = new QLabel;
    NoteLbl->setObjectName(QStringLiteral("NoteLbl"));
    v->addWidget(NoteLbl);

    for (QComboBox* c : {CmbGroup, CmbMeasure, CmbArea})
        connect(c, &QComboBox::currentIndexChanged, this, &TMarketPanel::choicesChanged);
    connect(CmbKind, &QComboBox::currentIndexChanged, this, &TMarketPanel::drawCharts);
    connect(SaveChartsBtn, &QPushButton::clicked, this, [this] {
        if (!view_)
            return;
        const QString path = chartChooser_ ? chartChooser_() : runChartDialog();
        if (!path.isEmpty())
            SaveCharts(path);
    });
    connect(CopyFiguresBtn, &QPushButton::clicked, this, [this] {
        if (view_)
            QGuiApplication::clipboard()->setText(FiguresText());
    });
    CmbKind->hide();
}

void TMarketPanel::choicesChanged()
{
    MarketChartRequest request;
    request.groupField = CmbGroup->currentData().toInt();
    request.histogramMeasure = CmbMeasure->currentData().toInt();
    request.scatterArea = CmbArea->currentData().toInt();
    step_->SetRequest(request);
    if (isVisible())
        emit RefreshWanted();
}

void TMarketPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    step_->SetActive(true);
    emit RefreshWanted();
}

void TMarketPanel::hideEvent(QHideEvent* event)
{
    step_->SetActive(false);
    QWidget::hideEvent(event);
}

// ---------------------------------------------------------------- showing a result

void TMarketPanel::Apply(std::shared_ptr<const MarketView> view)
{
    view_ = std::move(view);
    model_->SetFigures(view_ ? std::shared_ptr<const search::MarketFigures>(view_, &view_->figures) : nullptr);

    // The kind drawn stays the kind drawn while it is found.
    const QVariant kept = CmbKind->currentData();
    {
        const QSignalBlocker block(CmbKind);
        CmbKind->clear();
        if (view_)
            for (const KindChart& chart : view_->charts)
                CmbKind->addItem(KindCaption(chart.kind), static_cast<int>(chart.kind));
        CmbKind->setCurrentIndex(std::max(0, CmbKind->findData(kept)));
    }
    CmbKind->setVisible(CmbKind->count() > 1);
    drawCharts();
}

const KindChart* TMarketPanel::ShownChart() const
{
    if (!view_ || view_->charts.empty())
        return nullptr;
    const int kind = CmbKind->currentData().toInt();
    for (const KindChart& chart : view_->charts)
        if (static_cast<int>(chart.kind) == kind)
            return &chart;
    return &view_->charts.front();
}

void TMarketPanel::drawCharts()
{
    const KindChart* chart = ShownChart();
    const int measure = view_ ? view_->request.histogramMeasure : CmbMeasure->currentData().toInt();
    const int area = view_ ? view_->request.scatterArea : CmbArea->currentData().toInt();
    const QString kind = chart && CmbKind->count() > 1 ? KindCaption(chart->kind) + QStringLiteral(" ") : QString();

    // Histogram: the bars' values and captions replaced, the series kept.
    QList<qreal> counts;
    QStringList edges;
    int top = 0;
    if (chart) {
        const HistogramBins& bins = chart->histogram;
        for (std::size_t k = 0; k < bins.counts.size(); ++k) {
            counts.append(bins.counts[k]);
            edges.append(q(search::FigureText(bins.low + static_cast<double>(k) * bins.width)));
            top = std::max(top, bins.counts[k]);
        }
    }
    barSet_->remove(0, barSet_->count());
    binAxis_->clear();
    binAxis_->append(edges);
    barSet_->append(counts);
    // Whole counts on the axis: a tick a listing while they are few.
    countAxis_->setRange(0, std::max(1, top));
    if (top <= 5)
        countAxis_->setTickCount(std::max(1, top) + 1);
    else
        countAxis_->applyNiceNumbers();
    histogram_->setTitle(kind + q(fieldColumnTitle(measure)) + QStringLiteral(" の分布"));

    // Scatter plot.
    QList<QPointF> points;
    double xMax = 0, yMax = 0;
    if (chart) {
        points.reserve(static_cast<qsizetype>(chart->points.size()));
        for (const ScatterPoint& p : chart->points) {
            points.append(QPointF(p.x, p.y));
            xMax = std::max(xMax, p.x);
            yMax = std::max(yMax, p.y);
        }
    }
    points_->replace(points);
    areaAxis_->setRange(0, xMax > 0 ? xMax : 1);
    areaAxis_->applyNiceNumbers();
    areaAxis_->setTitleText(q(fieldColumnTitle(area)));
    priceAxis_->setRange(0, yMax > 0 ? yMax : 1);
    priceAxis_->applyNiceNumbers();
    priceAxis_->setTitleText(q(fieldColumnTitle(F(Field::Kakaku))));
    scatter_->setTitle(kind + q(fieldColumnTitle(F(Field::Kakaku))) + QStringLiteral(" と ") +
                       q(fieldColumnTitle(area)));
    drawShownMark();

    const int found = view_ ? static_cast<int>(view_->figures.listings.size()) : 0;
    QString note = QStringLiteral("%L1 件の相場").arg(found);
    if (chart && chart->points.size() < static_cast<std::size_t>(chart->plottable))
        note += QStringLiteral("　散布図は %L1 件中 %L2 件を表示").arg(chart->plottable).arg(chart->points.size());
    NoteLbl->setText(view_ ? note : QString());
}

void TMarketPanel::SetShownListing(int listing)
{
    shownListing_ = listing;
    drawShownMark();
}

void TMarketPanel::drawShownMark()
{
    QList<QPointF> mark;
    const KindChart* chart = ShownChart();
    if (chart && shownListing_ >= 0) {
        // From the values of every listing found, not only the points drawn.
        const search::MarketFigures& f = view_->figures;
        const auto it = std::lower_bound(f.listings.begin(), f.listings.end(), shownListing_);
        const auto m = [&](int field) {
            return static_cast<std::size_t>(std::find(f.measures.begin(), f.measures.end(), field) - f.measures.begin());
        };
        const std::size_t area = m(view_->request.scatterArea), price = m(F(Field::Kakaku));
        if (it != f.listings.end() && *it == shownListing_ && area < f.values.size() && price < f.values.size()) {
            const auto k = static_cast<std::size_t>(it - f.listings.begin());
            const double x = f.values[area][k], y = f.values[price][k];
            const DocumentPtr& document = search_.Document();
            const bool sameKind =
                document && shownListing_ < static_cast<int>(document->ListingTable.size()) &&
                search::TradeKindOf(document->ListingTable[static_cast<std::size_t>(shownListing_)].field(
                    Field::DataSyubetu)) == chart->kind;
            if (sameKind && !std::isnan(x) && !std::isnan(y))
                mark.append(QPointF(x, y));
        }
    }
    shownMark_->replace(mark);
}

// ---------------------------------------------------------------- picking

void TMarketPanel::PickBar(int bin)
{
    const KindChart* chart = ShownChart();
    if (chart && bin >= 0 && bin < static_cast<int>(chart->histogram.listings.size()))
        emit ListingsPicked(chart->histogram.listings[static_cast<std::size_t>(bin)]);
}

void TMarketPanel::PickPoint(const QPointF& at)
{
    const KindChart* chart = ShownChart();
    if (!chart || chart->points.empty())
        return;
    // Nearest on the plot, each axis by its own span.
    const double xs = std::max(areaAxis_->max() - areaAxis_->min(), 1e-9);
    const double ys = std::max(priceAxis_->max() - priceAxis_->min(), 1e-9);
    double best = std::numeric_limits<double>::infinity();
    int listing = -1;
    for (const ScatterPoint& p : chart->points) {
        const double dx = (p.x - at.x()) / xs, dy = (p.y - at.y()) / ys;
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            listing = p.listing;
        }
    }
    emit ListingsPicked({listing});
}

// ---------------------------------------------------------------- saving and copying

QString TMarketPanel::FiguresText() const
{
    return view_ ? q(search::MarketFiguresTable(view_->figures)) : QString();
}

QString TMarketPanel::runChartDialog()
{
    QFileDialog d(this);
    d.setObjectName(QStringLiteral("ChartDialog"));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    MakeFileDialogJapanese(d);
    const QStringList filters = {QStringLiteral("PNG 画像 (*.png)"), QStringLiteral("PDF ファイル (*.pdf)")};
    d.setNameFilters(filters);
    d.setDefaultSuffix(QStringLiteral("png"));
    connect(&d, &QFileDialog::filterSelected, &d, [&d, filters](const QString& filter) {
        d.setDefaultSuffix(filter == filters.value(1) ? QStringLiteral("pdf") : QStringLiteral("png"));
    });
    if (d.exec() != QDialog::Accepted)
        return {};
    return d.selectedFiles().value(0);
}

bool TMarketPanel::SaveCharts(const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize size(HistogramView->width() + ScatterView->width(), std::max(HistogramView->height(), ScatterView->height()));
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        // A4 landscape, the two charts side by side, drawn as vectors.
        QPdfWriter pdf(&buffer);
        pdf.setTitle(histogram_->title());
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setResolution(300);
        QPainter painter(&pdf);
        const QRect page = painter.viewport();
        const int half = page.width() / 2;
        const int h = std::min(page.height(), half * 3 / 4);
        HistogramView->render(&painter, QRectF(0, 0, half - 20, h), HistogramView->rect());
        ScatterView->render(&painter, QRectF(half + 20, 0, half - 20, h), ScatterView->rect());
        painter.end();
    } else {
        QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.drawPixmap(0, 0, HistogramView->grab());
        painter.drawPixmap(HistogramView->width(), 0, ScatterView->grab());
        painter.end();
        image.save(&buffer, "PNG");
    }
    buffer.close();

    const DocumentPtr& document = search_.Document();
    const fileio::JobInputs inputs{document ? document->CurrentFileName : std::string()};
    fileio::SafeSaveFile file(u8(path), fileio::Durability::SyncedToDisk, &inputs);
    if (!file.open()) {
        Say(Tone::Error, file.refusedAsInput() ? msg::OutputIsInput(u8(path)) : msg::FileCannotCreate(u8(path)), this);
        return false;
    }
    if (!file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) || !file.commit()) {
        Say(Tone::Error, msg::FileCannotCreate(u8(path)), this);
        return false;
    }
    return true;
}

} // namespace kovra
