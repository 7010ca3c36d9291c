// The main window's part of the change view: the command that picks the
// older file, the price line of the listing on show and its changed boxes.
#include "MainForm.h"
#include "MainFormSupport.h"

#include "ChangeTexts.h"
#include "ChangeView.h"
#include "ListingBrowser.h"
#include "OpenDocument.h"

#include "MessageTexts.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kovra {

namespace {

// The boxes of fields that changed since the older file.
const QString kChangedLook = QStringLiteral("background-color: #fff3b0;");
constexpr char kOwnHint[] = "kovraOwnHint";

} // namespace

QWidget* TMainForm::buildPriceLine()
{
    PriceLineLbl = new QLabel;
    PriceLineLbl->setObjectName(QStringLiteral("PriceLineLbl"));
    PriceLineLbl->setContentsMargins(4, 0, 4, 0);
    PriceLineLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PriceLineLbl->hide();
    return PriceLineLbl;
}

void TMainForm::AttachChanges(TChangeView* changes)
{
    changes_ = changes;
    if (!changes_)
        return;
    connect(changes_, &TChangeView::Changed, this, [this] {
        EndCompareMenu->setEnabled(changes_->Older() != nullptr);
        showChange(ShownListingNumber());
    });
    if (browser_)
        browser_->AttachChanges(changes_);
    showChange(ShownListingNumber());
}

void TMainForm::CompareMenuClick()
{
    if (!changes_)
        return;
    QString path;
    if (compareChooser_) {
        path = compareChooser_();
    } else {
        QFileDialog* d = OpenDialog();
        d->setWindowTitle(q(msg::kCompareWithEarlier));
        path = runOpenDialog();
        d->setWindowTitle(QString());
    }
    if (!path.isEmpty())
        changes_->CompareWith(path, this);
}

void TMainForm::EndCompareMenuClick()
{
    if (changes_)
        changes_->Stop();
}

void TMainForm::showChange(int number)
{
    shownNumber_ = number;
    askHistory();
    const ChangeStatePtr state = changes_ ? changes_->State() : nullptr;
    const changes::Finding* finding = nullptr;
    QString line;
    if (state && number >= 1 && number <= state->after->ListingCount) {
        finding = state->ofNew(number - 1);
        if (!finding)
            line = q(msg::kNoChangeSinceEarlier);
        else if (finding->kinds & changes::New)
            line = q(msg::kNewSinceEarlier);
        else
            line = q(changes::PriceLine(state->before->ListingTable[static_cast<std::size_t>(finding->oldIndex)].Kakaku(),
                                        state->after->ListingTable[static_cast<std::size_t>(number - 1)].Kakaku()));
    }
    PriceLineLbl->setText(line);
    PriceLineLbl->setVisible(state != nullptr);

    changedBoxes_.resize(bindings_.size(), false);
    for (std::size_t b = 0; b < bindings_.size(); ++b) {
        const Binding& binding = bindings_[b];
        const bool changed = finding && finding->oldIndex >= 0
                             && std::find(finding->fields.begin(), finding->fields.end(), binding.field)
                                    != finding->fields.end();
        if (changed == changedBoxes_[b] && !changed)
            continue;
        changedBoxes_[b] = changed;
        QWidget* box = binding.edit ? static_cast<QWidget*>(binding.edit) : static_cast<QWidget*>(binding.memo);
        // A box's own hint (the mail box's) comes back when the field is
        // no longer shown changed.
        if (!box->property(kOwnHint).isValid())
            box->setProperty(kOwnHint, box->toolTip());
        box->setStyleSheet(changed ? kChangedLook : QString());
        if (changed) {
            const TKovraDataClass& older = state->before->ListingTable[static_cast<std::size_t>(finding->oldIndex)];
            box->setToolTip(q(msg::EarlierText(older.field(binding.field))));
        } else {
            box->setToolTip(box->property(kOwnHint).toString());
        }
    }
}

} // namespace kovra
