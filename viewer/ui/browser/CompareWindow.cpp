#include "CompareWindow.h"

#include "CompareSheet.h"
#include "CompareSheetLayout.h"
#include "FieldCaptions.h"
#include "FieldNames.h"
#include "MemberFields.h"
#include "MessageTexts.h"
#include "PrintTool.h"
#include "Prompter.h"
#include "QtText.h"
#include "ReportJob.h"
#include "SearchIndex.h"
#include "UserSettings.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kovra {

std::vector<int> ChosenCompareRows(const services::TUserSettings& settings)
{
    std::vector<int> rows;
    for (const std::string& name : settings.CompareRows) {
        const int field = fieldIndex(name);
        // With the member display off the member items are not shown.
        if (field >= 0 && (settings.MemberViewOk || !IsMemberField(field)) &&
            std::find(rows.begin(), rows.end(), field) == rows.end())
            rows.push_back(field);
    }
    return rows.empty() ? search::DefaultCompareRows() : rows;
}

TCompareWindow::TCompareWindow(DocumentPtr document, std::shared_ptr<const search::SearchIndex> index,
                               std::vector<int> found, std::vector<int> chosen, services::TUserSettings& settings,
                               ReportEngine engine, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(std::move(document)), index_(std::move(index)), found_(std::move(found)),
      chosen_(std::move(chosen)), settings_(settings), engine_(std::move(engine)),
      sheet_(std::make_unique<search::CompareSheet>())
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(q(kCompareCaption));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    SheetView = new QTableWidget;
    SheetView->setObjectName(QStringLiteral("SheetView"));
    SheetView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SheetView->setWordWrap(true);
    SheetView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    v->addWidget(SheetView, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    RowsBtn = button("RowsBtn", QStringLiteral("項目(&R)..."));
    buttons->addStretch(1);
    PreviewBtn = button("PreviewBtn", QStringLiteral("印刷プレビュー(&V)"));
    PrintBtn = button("PrintBtn", QStringLiteral("印刷(&P)..."));
    v->addLayout(buttons);
    connect(RowsBtn, &QPushButton::clicked, this, &TCompareWindow::rowsMenu);
    connect(PreviewBtn, &QPushButton::clicked, this, [this] { PrintSheet(true); });
    connect(PrintBtn, &QPushButton::clicked, this, [this] { PrintSheet(false); });

    rebuild();
    resize(std::min(1400, 220 + 170 * static_cast<int>(chosen_.size())), 720);
}

TCompareWindow::~TCompareWindow() = default;

void TCompareWindow::rebuild()
{
    *sheet_ = search::MakeCompareSheet(*document_, *index_, found_, chosen_, ChosenCompareRows(settings_));
    const search::CompareSheet& s = *sheet_;
    SheetView->clear();
    SheetView->setColumnCount(static_cast<int>(s.listings.size()));
    QStringList heads;
    for (std::size_t c = 0; c < s.listings.size(); ++c)
        heads.append(q(search::CompareColumnHead(static_cast<int>(c))));
    SheetView->setHorizontalHeaderLabels(heads);

    int lines = 0;
    for (const search::CompareRow& row : s.rows)
        lines += row.quantity ? 2 : 1;
    SheetView->setRowCount(lines);
    QStringList labels;
    const QColor marketInk(90, 90, 90);
    int line = 0;
    for (const search::CompareRow& row : s.rows) {
        labels.append(q(row.label));
        for (std::size_t c = 0; c < row.cells.size(); ++c)
            SheetView->setItem(line, static_cast<int>(c), new QTableWidgetItem(q(row.cells[c])));
        ++line;
        if (!row.quantity)
            continue;
        labels.append(QStringLiteral("　相場"));
        for (std::size_t c = 0; c < row.market.size(); ++c) {
            QString text = q(row.market[c]);
            if (!row.deviation[c].empty())
                text += QStringLiteral("（%1）").arg(q(row.deviation[c]));
            auto* item = new QTableWidgetItem(text);
            item->setForeground(marketInk);
            SheetView->setItem(line, static_cast<int>(c), item);
        }
        ++line;
    }
    SheetView->setVerticalHeaderLabels(labels);
    SheetView->setToolTip(QStringLiteral("相場は一覧で見つかった %L1 件のうち、同じ取引（売買・賃貸）の物件の中央値です")
                              .arg(s.marketCount));
}

void TCompareWindow::SetRowChosen(int field, bool on)
{
    if (field < 0 || field >= kFieldCount)
        return;
    std::vector<int> rows = ChosenCompareRows(settings_);
    const auto it = std::find(rows.begin(), rows.end(), field);
    if (on && it == rows.end()) {
        rows.push_back(field); // below the rows already there
    } else if (!on && it != rows.end()) {
        if (rows.size() == 1)
            return; // a sheet of no rows says nothing
        rows.erase(it);
    }
    settings_.CompareRows.clear();
    for (const int f : rows)
        settings_.CompareRows.emplace_back(kFieldNames[static_cast<std::size_t>(f)]);
    if (rows == search::DefaultCompareRows())
        settings_.CompareRows.clear();
    rebuild();
}

void TCompareWindow::ResetRows()
{
    settings_.CompareRows.clear();
    rebuild();
}

void TCompareWindow::rowsMenu()
{
    QMenu menu(this);
    const std::vector<int> rows = ChosenCompareRows(settings_);
    menu.addAction(QStringLiteral("既定の項目に戻す"), this, &TCompareWindow::ResetRows);
    menu.addSeparator();
    for (int f = 0; f < kFieldCount; ++f) {
        if (IsMemberField(f) && !settings_.MemberViewOk)
            continue;
        QAction* a = menu.addAction(q(fieldCaption(f)));
        a->setCheckable(true);
        a->setChecked(std::find(rows.begin(), rows.end(), f) != rows.end());
        connect(a, &QAction::toggled, this, [this, f](bool on) { SetRowChosen(f, on); });
    }
    menu.exec(RowsBtn->mapToGlobal(QPoint(0, RowsBtn->height())));
}

bool TCompareWindow::PrintSheet(bool preview)
{
    CompareSheetRequest request;
    request.profile = services::UserProfileTexts(settings_);
    // The data file lives in a folder of the job's own while it prints.
    const ReportJobOutcome run = RunReportJob("KvCompare.tmp",
                                              [&](const std::string& dataFile) {
                                                  request.dataFile = dataFile;
                                                  return WriteCompareSheet(*sheet_, request);
                                              },
                                              [&](const ReportOutcome& written) {
                                                  if (!written.unmappableCharacters.empty())
                                                      Say(Tone::Warning, msg::CharactersNotPrinted(written.unmappableCharacters), this);
                                                  // The print dialog, with the PDF file among its destinations.
                                                  TPrintTool().SetShowPrintDialog(true);
                                                  if (!preview)
                                                      return engine_.print && engine_.print();
                                                  if (engine_.preview)
                                                      engine_.preview();
                                                  return true;
                                              });
    if (!run.written.written && !run.written.message.empty())
        Say(Tone::Error, run.written.message, this);
    return run.printed;
}

} // namespace kovra
