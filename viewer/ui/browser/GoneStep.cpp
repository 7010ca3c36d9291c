#include "GoneStep.h"

#include "SearchIndex.h"

namespace kovra {

void TGoneStep::SetState(ChangeStatePtr state)
{
    const std::lock_guard lock(mutex_);
    state_ = std::move(state);
    if (!state_ || state_->before != indexed_) {
        indexed_.reset();
        olderIndex_.reset();
    }
}

std::shared_ptr<const search::SearchIndex> TGoneStep::olderIndex(const DocumentPtr& older, const FieldSet& blank) const
{
    {
        const std::lock_guard lock(mutex_);
        if (olderIndex_ && indexed_ == older && olderIndex_->blankFields() == blank)
            return olderIndex_;
    }
    // Made outside the lock: the window may hand over another comparison
    // meanwhile, and this one is then simply not kept.
    auto made = std::make_shared<const search::SearchIndex>(*older, blank);
    const std::lock_guard lock(mutex_);
    if (state_ && state_->before == older) {
        indexed_ = older;
        olderIndex_ = made;
    }
    return made;
}

std::any TGoneStep::Run(const TListingDocument& document, const search::SearchIndex& index, const search::Query& query,
                        std::span<const int>) const
{
    if (!active_)
        return {};
    ChangeStatePtr state;
    {
        const std::lock_guard lock(mutex_);
        state = state_;
    }
    if (!state || state->after.get() != &document)
        return {};
    // The member fields stay unsearched in the older file as in the newer.
    const auto older = olderIndex(state->before, index.blankFields());
    const std::span<const changes::Finding> gone = state->comparison.gone();
    std::vector<int> candidates;
    candidates.reserve(gone.size());
    for (const changes::Finding& f : gone)
        candidates.push_back(f.oldIndex);
    const std::vector<int> passed = older->filter(query, candidates);
    auto result = std::make_shared<GoneFound>();
    result->state = state;
    result->gone.reserve(passed.size());
    // Both in the gone listings' order: walk them side by side.
    std::size_t at = 0;
    for (std::size_t k = 0; k < candidates.size() && at < passed.size(); ++k)
        if (candidates[k] == passed[at]) {
            result->gone.push_back(static_cast<int>(k));
            ++at;
        }
    return std::shared_ptr<const GoneFound>(std::move(result));
}

} // namespace kovra
