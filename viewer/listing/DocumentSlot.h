// The place of one open file in the program: the document on show, which
// each load replaces whole, and the runs that read it.  The program holds
// one for the file on show and may hold more beside it (the file to compare
// with); each is independent of the others.  Plain C++, GUI thread only:
// a run's worker reads its document, never the slot.
#pragma once

#include "ListingDocument.h"
#include "WorkProgress.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace kovra {

class DocumentSlot {
public:
    DocumentSlot();
    ~DocumentSlot();
    DocumentSlot(const DocumentSlot&) = delete;
    DocumentSlot& operator=(const DocumentSlot&) = delete;

    // Never null: an empty document before the first load.
    DocumentPtr Document() const;
    bool InUseByRun() const;

    // Runs a load off the GUI thread with a progress window and 中止;
    // false when the user stopped it.
    using LoadRunner = std::function<bool(const std::function<void(WorkProgress&)>& load)>;

    // Loads `path` (LoadAndSay) and puts its document on show, unless the
    // file could not be opened.  While a run reads the document on show
    // nothing is loaded: the user is told so and the status is InUse.
    // With `run`, the reading goes through it; a load the user stopped
    // changes nothing and says nothing (status CannotOpen, no message).
    LoadOutcome Load(const std::string& path, QWidget* owner = nullptr, const LoadRunner& run = {});

    // Puts `document` on show, whatever its outcome.
    void Replace(std::shared_ptr<TListingDocument> document);

    // Held by a run while it reads the document on show: no load takes its
    // place meanwhile.  The lease keeps the document alive; its end (or
    // Release) tells the observer, also when the slot itself is gone.
    class RunLease {
    public:
        RunLease() = default;
        RunLease(RunLease&& other) noexcept;
        RunLease& operator=(RunLease&& other) noexcept;
        ~RunLease() { Release(); }
        explicit operator bool() const { return document_ != nullptr; }
        const TListingDocument& Document() const { return *document_; }
        void Release();

    private:
        friend class DocumentSlot;
        struct Shared;
        std::shared_ptr<TListingDocument> document_;
        std::weak_ptr<Shared> slot_;
    };
    RunLease BeginRun();

    // Called after every change: another document on show, a run begun or
    // ended.  One observer (the windows' adaptor); empty: none.
    void SetObserver(std::function<void()> changed);

private:
    std::shared_ptr<RunLease::Shared> shared_;
};

} // namespace kovra
