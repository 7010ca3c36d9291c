// The viewer's way to the archive: one worker thread holds the archive and
// does every read and write there, so the window never waits for the
// database.  The archive opens on first use at the place the settings name;
// when it cannot be opened the user is told once and the viewer works on
// without it.  Queries on an archive that does not exist yet make none.
#pragma once

#include "Archive.h"
#include "ChangeTableModel.h"
#include "ListingDocument.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace kovra {

class TOpenDocument;
namespace services {
struct TUserSettings;
}

// A listing's life and notes, as the 履歴 tab shows them.
struct ListingRecord {
    std::string number;
    archive::ListingHistory history; // appearances 0: never imported
    std::vector<archive::Note> notes;
    // Why the archive could not tell (a server gone, a damaged file):
    // said in place of "not in the archive yet", which it would be wrong to say.
    std::string failure;
};
using ListingRecordPtr = std::shared_ptr<const ListingRecord>;

class TArchiveLink : public QObject {
    Q_OBJECT
public:
    // Imports every file `document` loads while the setting asks for it.
    TArchiveLink(services::TUserSettings& settings, TOpenDocument& document, QObject* parent = nullptr);
    ~TArchiveLink() override;

    // "アーカイブに取り込む": imports the file on show and says how it went
    // in a box owned by `owner`.
    void ImportShown(QWidget* owner);
    // The life and notes of listing `number` (RecordReady).
    void AskRecord(const std::string& number);
    // Adds a note by the user (the profile's name), then the record again.
    void AddNote(const std::string& number, const std::string& text);
    // The archive's columns of every listing of `document` (ColumnsReady).
    void AskColumns(DocumentPtr document);
    // The imports, newest last; `done` gets them on the GUI thread.
    void AskImports(std::function<void(std::vector<archive::ImportRecord>)> done);
    // An import's listings as a document; `done` gets it (null: none).
    void LoadImport(std::int64_t id, std::function<void(std::shared_ptr<TListingDocument>)> done);

    // False once the archive could not be opened.
    bool Usable() const { return usable_; }
    bool Busy() const { return pending_ > 0; }
    void WaitIdle();

signals:
    void RecordReady(ListingRecordPtr record);
    void ColumnsReady(ArchiveColumnsPtr columns);
    // An import added listings: what the windows show of the archive is stale.
    void Imported();

private:
    // Runs `job` on the worker with the archive open (null when it is not
    // there and `create` is false); its result runs on the GUI thread.
    using Job = std::function<std::function<void()>(archive::Archive*)>;
    void run(bool create, Job job, QWidget* owner = nullptr);
    void documentChanged();
    void import(DocumentPtr document, QPointer<QWidget> owner, bool say);

    services::TUserSettings& settings_;
    TOpenDocument& document_;
    QThreadPool worker_;
    int pending_ = 0;
    bool usable_ = true;
    std::string failure_; // why it could not be opened
    DocumentPtr lastImported_;
    // Worker thread only.
    std::unique_ptr<archive::Archive> archive_;
    std::string openedAt_;
};

} // namespace kovra
