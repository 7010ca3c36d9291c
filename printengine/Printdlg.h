// TStartPrintDlg: holds the print dialog of one job (page numbers only).
#pragma once

#include <memory>

class QPrintDialog;

namespace dorvex {

class TStartPrintDlg {
public:
    TStartPrintDlg();
    ~TStartPrintDlg();
    QPrintDialog* PrintDialog() const { return dialog_.get(); }
    // Lowest and highest page, the range shown first (1 … highest).
    void SetPages(int highest);
    int MinPage() const { return minPage_; }
    int MaxPage() const { return maxPage_; }
    // Runs the dialog; false when the user cancels it.
    bool Execute();
    // The dialog's from/to range, when the user chose one.
    bool RangeGiven() const;
    int FromPage() const;
    int ToPage() const;

private:
    std::unique_ptr<QPrintDialog> dialog_;
    int minPage_ = 1;
    int maxPage_ = 1;
};

} // namespace dorvex
