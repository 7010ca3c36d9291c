// The change view's 消滅 filter under the browser's search.  The listings
// gone since the older file stand only in that file, so the words typed in
// the search box are looked for in the older file's own index, among the
// gone listings only; the index is made on the search's worker the first
// time it is wanted and kept while the older file stays the same.
#pragma once

#include "BrowserSearch.h"
#include "ChangeView.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace kovra {

struct GoneFound {
    ChangeStatePtr state;  // the comparison searched
    std::vector<int> gone; // positions in state->comparison.gone() found, in their order
};

class TGoneStep final : public FoundSetStep {
public:
    // The comparison whose gone listings are searched; null: none.
    void SetState(ChangeStatePtr state);
    // On only while the 消滅 filter is chosen: the step otherwise hands
    // back nothing and makes no index.
    void SetActive(bool active) { active_ = active; }

    // A std::shared_ptr<const GoneFound> when the search ran over the newer
    // file of the comparison, else nothing.
    std::any Run(const TListingDocument& document, const search::SearchIndex& index, const search::Query& query,
                 std::span<const int> found) const override;

private:
    std::shared_ptr<const search::SearchIndex> olderIndex(const DocumentPtr& older, const FieldSet& blank) const;

    mutable std::mutex mutex_;
    ChangeStatePtr state_;
    mutable DocumentPtr indexed_; // the file olderIndex_ was made of
    mutable std::shared_ptr<const search::SearchIndex> olderIndex_;
    std::atomic<bool> active_{false};
};

} // namespace kovra
