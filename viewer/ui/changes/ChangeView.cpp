#include "ChangeView.h"

#include "OpenDocument.h"
#include "Prompter.h"

#include <QCoreApplication>
#include <QWidget>

namespace kovra {

TChangeView::TChangeView(TOpenDocument& current, QObject* parent) : QObject(parent), current_(current)
{
    worker_.setMaxThreadCount(1);
    connect(&current_, &TOpenDocument::Changed, this, &TChangeView::documentChanged);
}

TChangeView::~TChangeView()
{
    ++generation_;
    worker_.waitForDone();
}

void TChangeView::CompareWith(const QString& path, QWidget* owner)
{
    const int generation = ++generation_;
    ++pending_;
    QPointer<QWidget> box(owner);
    worker_.start([this, generation, path = path.toStdString(), box] {
        std::shared_ptr<TListingDocument> older = LoadListingDocument(path);
        QMetaObject::invokeMethod(
            this,
            [this, generation, older = std::move(older), box]() mutable {
                --pending_;
                const LoadOutcome& outcome = older->Outcome;
                if (!outcome.message.empty())
                    Say(outcome.status == LoadOutcome::Status::ConversionError ? Tone::Plain : Tone::Error,
                        outcome.message, box.data());
                if (generation != generation_ || !outcome.ok() || older->ListingCount == 0)
                    return;
                CompareWithDocument(std::move(older));
            },
            Qt::QueuedConnection);
    });
}

void TChangeView::CompareWithDocument(std::shared_ptr<TListingDocument> older)
{
    ++generation_;
    older_ = std::move(older);
    compare();
}

void TChangeView::Stop()
{
    ++generation_;
    const bool comparing = older_ || state_;
    older_.reset();
    state_.reset();
    if (comparing)
        emit Changed();
}

ChangeStatePtr TChangeView::State() const
{
    return state_ && state_->after == current_.Document() ? state_ : nullptr;
}

void TChangeView::documentChanged()
{
    // A run beginning or ending leaves the listings as they are.
    if (!older_ || (state_ && state_->after == current_.Document()))
        return;
    ++generation_;
    compare();
}

void TChangeView::compare()
{
    const bool hadState = state_ != nullptr;
    state_.reset();
    if (hadState)
        emit Changed();
    const DocumentPtr after = current_.Document();
    if (!older_ || !after || after->ListingCount == 0)
        return;
    const int generation = generation_;
    ++pending_;
    worker_.start([this, generation, before = older_, after] {
        auto state = std::make_shared<ChangeState>();
        state->before = before;
        state->after = after;
        state->comparison = changes::Compare(*before, *after);
        QMetaObject::invokeMethod(
            this,
            [this, generation, state = std::move(state)]() mutable {
                --pending_;
                if (generation != generation_)
                    return;
                state_ = std::move(state);
                emit Changed();
            },
            Qt::QueuedConnection);
    });
}

void TChangeView::WaitIdle()
{
    // A load done starts a comparison: wait for that one too.
    do {
        worker_.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    } while (pending_ > 0);
}

} // namespace kovra
