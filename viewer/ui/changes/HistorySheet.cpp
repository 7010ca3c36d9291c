#include "HistorySheet.h"

#include "ListingLife.h"

#include "MessageTexts.h"
#include "QtText.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kovra {

namespace {

QDateTime DateOf(const std::string& date)
{
    return QDateTime(QDate::fromString(q(date), Qt::ISODate), QTime(0, 0));
}

} // namespace

THistorySheet::THistorySheet(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HistorySheet"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(4);
    LifeLbl = new QLabel;
    LifeLbl->setObjectName(QStringLiteral("LifeLbl"));
    v->addWidget(LifeLbl);

    auto* middle = new QHBoxLayout;
    LifeTable = new QTableWidget(0, 2);
    LifeTable->setObjectName(QStringLiteral("LifeTable"));
    LifeTable->setHorizontalHeaderLabels({q(msg::kLifeColumnDate), q(msg::kLifeColumnEvent)});
    LifeTable->verticalHeader()->hide();
    LifeTable->horizontalHeader()->setStretchLastSection(true);
    LifeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LifeTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    LifeTable->setColumnWidth(0, 84);
    LifeTable->verticalHeader()->setDefaultSectionSize(LifeTable->fontMetrics().height() + 4);
    middle->addWidget(LifeTable, 1);

    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->setBackgroundRoundness(0);
    auto* view = new QChartView(chart);
    view->setObjectName(QStringLiteral("PriceChart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumWidth(220);
    PriceChart = view;
    PriceChart->hide();
    middle->addWidget(PriceChart, 1);
    v->addLayout(middle, 1);

    NotesView = new QPlainTextEdit;
    NotesView->setObjectName(QStringLiteral("NotesView"));
    NotesView->setReadOnly(true);
    NotesView->setMaximumHeight(NotesView->fontMetrics().height() * 3 + 10);
    v->addWidget(NotesView);
    auto* noteRow = new QHBoxLayout;
    NoteEdit = new QLineEdit;
    NoteEdit->setObjectName(QStringLiteral("NoteEdit"));
    NoteEdit->setPlaceholderText(q(msg::kNotePlaceholder));
    AddNoteBtn = new QPushButton(q(msg::kAddNote));
    AddNoteBtn->setObjectName(QStringLiteral("AddNoteBtn"));
    noteRow->addWidget(NoteEdit, 1);
    noteRow->addWidget(AddNoteBtn);
    v->addLayout(noteRow);
    auto write = [this] {
        const QString text = NoteEdit->text().trimmed();
        if (text.isEmpty() || number_.empty())
            return;
        NoteEdit->clear();
        emit NoteWritten(number_, u8(text));
    };
    connect(AddNoteBtn, &QPushButton::clicked, this, write);
    connect(NoteEdit, &QLineEdit::returnPressed, this, write);
    Clear();
}

void THistorySheet::Clear()
{
    number_.clear();
    LifeLbl->setText(q(msg::kNotInArchiveYet));
    LifeTable->setRowCount(0);
    PriceChart->hide();
    NotesView->clear();
    NoteEdit->setEnabled(false);
    AddNoteBtn->setEnabled(false);
}

void THistorySheet::ShowRecord(const ListingRecordPtr& record, std::string_view currentPrice)
{
    Clear();
    if (!record)
        return;
    number_ = record->number;
    if (!record->failure.empty()) {
        LifeLbl->setText(q(record->failure));
        return;
    }
    NoteEdit->setEnabled(true);
    AddNoteBtn->setEnabled(true);
    const archive::ListingHistory& h = record->history;
    if (h.appearances > 0)
        LifeLbl->setText(q(msg::LifeSummary(h.firstSeen, archive::DaysBetween(h.firstSeen, h.lastSeen),
                                            h.appearances)));

    const std::vector<archive::LifeRow> rows = archive::LifeRows(h);
    LifeTable->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        LifeTable->setItem(static_cast<int>(r), 0, new QTableWidgetItem(q(rows[r].date)));
        LifeTable->setItem(static_cast<int>(r), 1, new QTableWidgetItem(q(rows[r].event)));
    }

    const std::vector<archive::PricePoint> points = archive::PricePoints(h, currentPrice);
    if (points.size() >= 2) {
        auto* chart = static_cast<QChartView*>(PriceChart)->chart();
        chart->removeAllSeries();
        // The chart gives a removed axis back to its caller.
        for (QAbstractAxis* axis : chart->axes()) {
            chart->removeAxis(axis);
            delete axis;
        }
        auto* series = new QLineSeries;
        double low = points.front().value, high = low;
        for (const archive::PricePoint& p : points) {
            series->append(static_cast<qreal>(DateOf(p.date).toMSecsSinceEpoch()), p.value);
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
        series->setPointsVisible(true);
        chart->addSeries(series);
        auto* x = new QDateTimeAxis;
        x->setFormat(QStringLiteral("MM/dd"));
        x->setTickCount(std::min<int>(static_cast<int>(points.size()), 4));
        auto* y = new QValueAxis;
        const double pad = std::max(1.0, (high - low) * 0.1);
        y->setRange(low - pad, high + pad);
        y->setLabelFormat(QStringLiteral("%.0f"));
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        PriceChart->show();
    }

    QString notes;
    for (const archive::Note& n : record->notes)
        notes += q(msg::NoteLine(n.writtenAt, n.author, n.text)) + u'\n';
    NotesView->setPlainText(notes.trimmed());
}

} // namespace kovra
