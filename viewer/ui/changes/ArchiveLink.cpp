#include "ArchiveLink.h"

#include "ArchiveLocation.h"

#include "ListingLife.h"
#include "OpenDocument.h"

#include "FileIO.h"
#include "MessageTexts.h"
#include "Prompter.h"
#include "TextBlocks.h"
#include "UserSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

#include <filesystem>

namespace kovra {

namespace {

std::string NotesText(const archive::ListingSummary& s)
{
    if (s.notes == 0)
        return {};
    return s.notes == 1 ? s.lastNote : msg::NotesCell(s.lastNote, s.notes);
}

} // namespace

TArchiveLink::TArchiveLink(services::TUserSettings& settings, TOpenDocument& document, QObject* parent)
    : QObject(parent), settings_(settings), document_(document)
{
    worker_.setMaxThreadCount(1);
    connect(&document_, &TOpenDocument::Changed, this, &TArchiveLink::documentChanged);
    // The file the program started with.
    documentChanged();
}

TArchiveLink::~TArchiveLink() { worker_.waitForDone(); }

void TArchiveLink::run(bool create, Job job, QWidget* owner)
{
    if (!usable_)
        return;
    ++pending_;
    QPointer<QWidget> box(owner);
    worker_.start([this, create, job = std::move(job), box, location = services::ArchiveLocation(settings_),
                   userData = settings_.Archive.Location.empty()] {
        std::string failure;
        if (archive_ && openedAt_ != location)
            archive_.reset();
        // A query makes no archive file where there is none yet; a server's
        // archive is always there to ask (it makes its tables on first use).
        const bool there = archive::IsServerLocation(location) || QFileInfo::exists(QString::fromStdString(location));
        if (!archive_ && (create || there)) {
            // The user's data folder may not be there yet.
            if (create && userData) {
                std::error_code ec;
                std::filesystem::create_directories(fileio::PathFromUtf8(location).parent_path(), ec);
            }
            archive_ = archive::Archive::Open(location, create ? archive::OpenMode::CreateWhenMissing
                                                               : archive::OpenMode::ExistingOnly,
                                              failure);
            openedAt_ = location;
        }
        std::function<void()> then = failure.empty() ? job(archive_.get()) : std::function<void()>();
        QMetaObject::invokeMethod(
            this,
            [this, then = std::move(then), failure = std::move(failure), box] {
                --pending_;
                if (!failure.empty()) {
                    // Said once; from now on the viewer does without it.
                    if (usable_)
                        Say(Tone::Error, failure, box.data());
                    usable_ = false;
                    failure_ = failure;
                    return;
                }
                if (then)
                    then();
            },
            Qt::QueuedConnection);
    });
}

void TArchiveLink::documentChanged()
{
    const DocumentPtr document = document_.Document();
    if (!settings_.Archive.AutoImport || document == lastImported_ || !document->Outcome.ok()
        || document->ListingCount == 0 || document->CurrentFileName.empty())
        return;
    import(document, nullptr, false);
}

void TArchiveLink::ImportShown(QWidget* owner)
{
    const DocumentPtr document = document_.Document();
    if (document->ListingCount == 0 || document->CurrentFileName.empty())
        return;
    if (!usable_) {
        // Asked for by name: the reason once more.
        Say(Tone::Error, failure_, owner);
        return;
    }
    import(document, owner, true);
}

void TArchiveLink::import(DocumentPtr document, QPointer<QWidget> owner, bool say)
{
    lastImported_ = document;
    run(true, [this, document, owner, say](archive::Archive* a) -> std::function<void()> {
        archive::Digest sha{};
        archive::ImportOutcome out;
        if (archive::Sha256OfFile(document->CurrentFileName, sha, out.message))
            out = a->importDocument(*document, sha, fileio::BaseName(document->CurrentFileName));
        return [this, out = std::move(out), owner, say] {
            if (out.status == archive::ImportOutcome::Status::Failed) {
                Say(Tone::Error, out.message, owner.data());
                return;
            }
            if (out.status == archive::ImportOutcome::Status::Imported)
                emit Imported();
            if (say)
                Say(Tone::Information,
                    out.status == archive::ImportOutcome::Status::Same
                        ? msg::ImportedBefore(out.import.id)
                        : msg::ImportDone(out.import.id, out.import.date, out.import.series, out.newListings,
                                          out.goneListings, out.changedListings),
                    owner.data());
        };
    }, owner.data());
}

void TArchiveLink::AskRecord(const std::string& number)
{
    run(false, [this, number](archive::Archive* a) -> std::function<void()> {
        auto record = std::make_shared<ListingRecord>();
        record->number = number;
        if (a) {
            if (auto h = a->history(number); h.ok())
                record->history = std::move(*h.value);
            else if (h.message != msg::ListingNotInArchive(number))
                record->failure = std::move(h.message);
            if (auto n = a->notes(number); n.ok())
                record->notes = std::move(*n.value);
        }
        return [this, record = ListingRecordPtr(std::move(record))] { emit RecordReady(record); };
    });
}

void TArchiveLink::AddNote(const std::string& number, const std::string& text)
{
    const std::string author = settings_.UserProfile.Name;
    run(true, [this, number, text, author](archive::Archive* a) -> std::function<void()> {
        const auto added = a->addNote(number, author, text);
        return [this, number, message = added.ok() ? std::string() : added.message] {
            if (!message.empty())
                Say(Tone::Error, message, nullptr);
            AskRecord(number);
        };
    });
}

void TArchiveLink::AskColumns(DocumentPtr document)
{
    if (!document || document->ListingCount == 0)
        return;
    run(false, [this, document](archive::Archive* a) -> std::function<void()> {
        if (!a)
            return {};
        std::vector<std::string_view> numbers;
        numbers.reserve(static_cast<std::size_t>(document->ListingCount));
        for (int i = 0; i < document->ListingCount; ++i)
            numbers.push_back(document->ListingTable[static_cast<std::size_t>(i)].BukkennNum());
        auto summaries = a->summaries(numbers);
        if (!summaries.ok())
            return {};
        auto columns = std::make_shared<ArchiveColumns>();
        columns->document = document;
        columns->rows.reserve(numbers.size());
        bool any = false;
        for (const archive::ListingSummary& s : *summaries.value) {
            any = any || !s.firstSeen.empty();
            columns->rows.push_back({s.firstSeen, archive::DaysBetween(s.firstSeen, s.lastSeen), s.previousPrice,
                                     NotesText(s)});
        }
        if (!any)
            return {};
        return [this, columns = ArchiveColumnsPtr(std::move(columns))] { emit ColumnsReady(columns); };
    });
}

void TArchiveLink::AskImports(std::function<void(std::vector<archive::ImportRecord>)> done)
{
    run(false, [done = std::move(done)](archive::Archive* a) -> std::function<void()> {
        std::vector<archive::ImportRecord> imports;
        if (a)
            if (auto r = a->imports(); r.ok())
                imports = std::move(*r.value);
        return [done, imports = std::move(imports)] { done(imports); };
    });
}

void TArchiveLink::LoadImport(std::int64_t id, std::function<void(std::shared_ptr<TListingDocument>)> done)
{
    run(false, [id, done = std::move(done)](archive::Archive* a) -> std::function<void()> {
        auto document = std::make_shared<TListingDocument>();
        std::string message;
        if (a) {
            const auto loaded = a->loadImport(id, *document);
            if (!loaded.ok())
                message = loaded.message;
        }
        return [done, document = std::move(document), message] {
            if (!message.empty()) {
                Say(Tone::Error, message, nullptr);
                return;
            }
            done(document);
        };
    });
}

void TArchiveLink::WaitIdle()
{
    do {
        worker_.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    } while (pending_ > 0);
}

} // namespace kovra
