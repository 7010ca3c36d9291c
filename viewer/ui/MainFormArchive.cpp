// The main window's part of the archive: "アーカイブに取り込む", the choice
// of an import to compare with, and the 履歴 tab of the listing on show.
#include "MainForm.h"
#include "MainFormSupport.h"

#include "ArchiveLink.h"
#include "ChangeView.h"
#include "HistorySheet.h"
#include "ListingBrowser.h"

#include "MessageTexts.h"
#include "Prompter.h"

#include <algorithm>

#include <QAction>
#include <QStringList>
#include <QInputDialog>
#include <QTabWidget>

namespace kovra {

void TMainForm::AttachArchive(TArchiveLink* archive)
{
    archive_ = archive;
    ArchiveImportMenu->setVisible(archive_ != nullptr);
    CompareImportMenu->setVisible(archive_ != nullptr);
    if (!archive_)
        return;
    HistorySheet = new THistorySheet;
    PageControl->addTab(HistorySheet, q(msg::kHistoryTab));
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { askHistory(); });
    connect(archive_, &TArchiveLink::Imported, this, [this] { askHistory(); });
    connect(archive_, &TArchiveLink::RecordReady, this, [this](const ListingRecordPtr& record) {
        const int n = shownNumber_;
        if (n < 1 || n > listingCount())
            return;
        const TKovraDataClass& rec = shown().ListingTable[static_cast<std::size_t>(n - 1)];
        // A step since asked for another listing: its own answer follows.
        if (record->number == rec.BukkennNum())
            HistorySheet->ShowRecord(record, rec.Kakaku());
    });
    connect(HistorySheet, &THistorySheet::NoteWritten, archive_, &TArchiveLink::AddNote);
    if (browser_)
        browser_->AttachArchive(archive_);
}

void TMainForm::askHistory()
{
    if (!archive_ || !HistorySheet || PageControl->currentWidget() != HistorySheet)
        return;
    const int n = shownNumber_;
    if (n < 1 || n > listingCount() || !archive_->Usable()) {
        HistorySheet->Clear();
        return;
    }
    archive_->AskRecord(std::string(shown().ListingTable[static_cast<std::size_t>(n - 1)].BukkennNum()));
}

void TMainForm::ArchiveImportMenuClick()
{
    if (archive_)
        archive_->ImportShown(this);
}

void TMainForm::CompareImportMenuClick()
{
    if (!archive_ || !changes_)
        return;
    archive_->AskImports([this](std::vector<archive::ImportRecord> imports) {
        if (imports.empty()) {
            Say(Tone::Information, msg::kArchiveEmpty, this);
            return;
        }
        QStringList items;
        // Newest first: the one before today's file is the likely choice.
        std::reverse(imports.begin(), imports.end());
        for (const archive::ImportRecord& i : imports)
            items << q(msg::ImportChoice(i.id, i.date, i.series, i.listings, i.fileName));
        int chosen = 0;
        if (importChooser_) {
            chosen = importChooser_(items);
        } else {
            bool ok = false;
            const QString item = QInputDialog::getItem(this, q(msg::kCompareWithImport), q(msg::kChooseImport), items,
                                                       imports.size() > 1 ? 1 : 0, false, &ok);
            chosen = ok ? static_cast<int>(items.indexOf(item)) : -1;
        }
        if (chosen < 0 || chosen >= static_cast<int>(imports.size()))
            return;
        archive_->LoadImport(imports[static_cast<std::size_t>(chosen)].id,
                             [this](std::shared_ptr<TListingDocument> older) {
                                 if (changes_ && older && older->ListingCount > 0)
                                     changes_->CompareWithDocument(std::move(older));
                             });
    });
}

} // namespace kovra
