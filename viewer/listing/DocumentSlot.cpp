#include "DocumentSlot.h"

#include "MessageTexts.h"
#include "WatchedLoad.h"
#include "Prompter.h"

namespace kovra {

// What the slot shares with its leases, which may outlive it.
struct DocumentSlot::RunLease::Shared {
    std::shared_ptr<TListingDocument> document = std::make_shared<TListingDocument>();
    std::function<void()> changed;
    void tell() const
    {
        if (changed)
            changed();
    }
};

DocumentSlot::DocumentSlot() : shared_(std::make_shared<RunLease::Shared>()) {}

DocumentSlot::~DocumentSlot() = default;

DocumentPtr DocumentSlot::Document() const { return shared_->document; }

bool DocumentSlot::InUseByRun() const { return shared_->document->InUseByRun(); }

LoadOutcome DocumentSlot::Load(const std::string& path, QWidget* owner, const LoadRunner& run)
{
    if (InUseByRun()) {
        // The run reads the table on show: it must stay as it is.
        Say(Tone::Warning, msg::kCannotLoadDuringHtmlExport, owner);
        LoadOutcome refused;
        refused.status = LoadOutcome::Status::InUse;
        return refused;
    }
    const auto replace = [this](std::shared_ptr<TListingDocument> loaded) { Replace(std::move(loaded)); };
    if (!run)
        return LoadAndSay(path, owner, replace)->Outcome;
    std::shared_ptr<TListingDocument> loaded;
    if (!run([&](WorkProgress& progress) { loaded = LoadListingDocument(path, progress); }) || !loaded) {
        LoadOutcome stopped;
        stopped.status = LoadOutcome::Status::CannotOpen;
        stopped.count = shared_->document->ListingCount;
        return stopped;
    }
    SayLoadOutcome(loaded, owner, replace);
    return loaded->Outcome;
}

void DocumentSlot::Replace(std::shared_ptr<TListingDocument> document)
{
    shared_->document = document ? std::move(document) : std::make_shared<TListingDocument>();
    shared_->tell();
}

DocumentSlot::RunLease DocumentSlot::BeginRun()
{
    RunLease lease;
    lease.document_ = shared_->document;
    lease.slot_ = shared_;
    ++lease.document_->runsReading_;
    shared_->tell();
    return lease;
}

void DocumentSlot::SetObserver(std::function<void()> changed) { shared_->changed = std::move(changed); }

DocumentSlot::RunLease::RunLease(RunLease&& other) noexcept
    : document_(std::move(other.document_)), slot_(std::move(other.slot_))
{
    other.document_.reset();
}

DocumentSlot::RunLease& DocumentSlot::RunLease::operator=(RunLease&& other) noexcept
{
    if (this != &other) {
        Release();
        document_ = std::move(other.document_);
        slot_ = std::move(other.slot_);
        other.document_.reset();
    }
    return *this;
}

void DocumentSlot::RunLease::Release()
{
    if (!document_)
        return;
    --document_->runsReading_;
    document_.reset();
    if (const std::shared_ptr<Shared> slot = slot_.lock())
        slot->tell();
    slot_.reset();
}

} // namespace kovra
