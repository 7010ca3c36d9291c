#include "Printdlg.h"

#include "lumprn.h"

#include <QPrintDialog>
#include <QPrinter>

namespace dorvex {

TStartPrintDlg::TStartPrintDlg()
    : dialog_(std::make_unique<QPrintDialog>(&ThePrinter()))
{
    dialog_->setOptions(QAbstractPrintDialog::PrintPageRange);
}

TStartPrintDlg::~TStartPrintDlg() = default;

void TStartPrintDlg::SetPages(int highest)
{
    minPage_ = 1;
    maxPage_ = highest;
    dialog_->setMinMax(1, highest);
    dialog_->setFromTo(1, highest);
    dialog_->setPrintRange(QAbstractPrintDialog::AllPages);
}

bool TStartPrintDlg::Execute()
{
    return dialog_->exec() == QDialog::Accepted;
}

bool TStartPrintDlg::RangeGiven() const
{
    return dialog_->printRange() == QAbstractPrintDialog::PageRange;
}

int TStartPrintDlg::FromPage() const
{
    return std::max(1, dialog_->fromPage());
}

int TStartPrintDlg::ToPage() const
{
    return std::max(FromPage(), dialog_->toPage());
}

} // namespace dorvex
