// The main window's 履歴 tab: the archive's record of the listing on show
// (first seen, days on the market, every status and price change with its
// date), a small price chart where it had two prices or more, and its
// notes with a box to add one.
#pragma once

#include "ArchiveLink.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace kovra {

class TPriceChart;

class THistorySheet : public QWidget {
    Q_OBJECT
public:
    explicit THistorySheet(QWidget* parent = nullptr);

    // Shows `record` of the listing whose price is now `currentPrice`.
    void ShowRecord(const ListingRecordPtr& record, std::string_view currentPrice);
    // No listing on show, or no archive.
    void Clear();
    const std::string& Number() const { return number_; }

    QLabel* LifeLbl = nullptr;
    QTableWidget* LifeTable = nullptr;
    QWidget* PriceChart = nullptr; // hidden with fewer than two prices
    QPlainTextEdit* NotesView = nullptr;
    QLineEdit* NoteEdit = nullptr;
    QPushButton* AddNoteBtn = nullptr;

signals:
    void NoteWritten(const std::string& number, const std::string& text);

private:
    std::string number_;
};

} // namespace kovra
