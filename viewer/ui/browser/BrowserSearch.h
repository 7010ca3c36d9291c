// The listing browser's search, off the GUI thread and without a window:
// the index of a document is built on a worker thread, the searches run
// there in the order asked, and each search hands back its found set with
// the results of any further computations over it.  Every request carries a
// generation; a result nobody wants any longer (a newer search, another
// document) is dropped.
#pragma once

#include "FieldNames.h"
#include "ListingDocument.h"
#include "SearchQuery.h"

#include <QObject>
#include <QThreadPool>

#include <any>
#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kovra::search {
class SearchIndex;
}

namespace kovra {

// A computation run on the worker over every found set (statistics over the
// listings found, say); its result travels with the found set.
class FoundSetStep {
public:
    virtual ~FoundSetStep() = default;
    // `found`: 0-based table indices of `document`, in result order, as
    // `query` found them.
    virtual std::any Run(const TListingDocument& document, const search::SearchIndex& index, const search::Query& query,
                         std::span<const int> found) const = 0;
};

struct FoundSet {
    int generation = 0;      // of the search that found it
    std::vector<int> listings; // 0-based table indices, in result order
    std::vector<std::any> extras; // one per step, in the order they were added
};

class TBrowserSearch : public QObject {
    Q_OBJECT
public:
    // The distinct texts of `choiceFields` (in order of first appearance)
    // come with the index: the choices of the browser's quick filters.
    explicit TBrowserSearch(std::vector<Field> choiceFields = {}, QObject* parent = nullptr);
    ~TBrowserSearch() override;

    // Works on `document` from now on: everything asked of the previous one
    // is dropped and the index is built.  Null: holds nothing.
    void SetDocument(DocumentPtr document);
    const DocumentPtr& Document() const { return document_; }

    // The fields every later index reads as empty (SearchIndex.h): never
    // found, no number.  An index already built keeps its own; a new
    // SetDocument builds one with these.
    void SetBlankFields(const FieldSet& blank) { blank_ = blank; }
    const FieldSet& BlankFields() const { return blank_; }
    // Those of the index built or being built for the document.
    const FieldSet& IndexBlankFields() const { return indexBlank_; }

    // Once built (IndexBuilt); null before.
    const std::shared_ptr<const search::SearchIndex>& Index() const { return index_; }
    // The choices of choiceFields[k], once the index is built.
    const std::vector<std::string>& Choices(std::size_t k) const { return choices_.at(k); }

    // Searches the document, narrowing the last found set when the search
    // only narrows the last one.  Does nothing before the index is built.
    // Returns the search's generation.
    int Search(const search::QueryDescription& description);
    int LatestGeneration() const { return searchGeneration_; }

    // The last found set handed back (Searched); null before the first
    // search of the document.
    const FoundSet* Found() const { return found_ ? &*found_ : nullptr; }

    // Runs `step` over every later found set; returns where its results
    // stand in FoundSet::extras.
    std::size_t AddStep(std::shared_ptr<const FoundSetStep> step)
    {
        steps_.push_back(std::move(step));
        return steps_.size() - 1;
    }

    // True while the index is built or a search runs.
    bool Busy() const { return pending_ > 0; }
    // Blocks until the worker has done all it was asked and the results
    // have been handed back.
    void WaitIdle();

signals:
    void IndexBuilt();
    void Searched();

private:
    void drop();

    std::vector<Field> choiceFields_;
    QThreadPool worker_; // one thread: requests run in order
    int pending_ = 0;
    int documentGeneration_ = 0;
    int searchGeneration_ = 0;
    std::atomic<int> latestSearch_{0}; // read by the worker: skip searches already overtaken
    DocumentPtr document_;
    FieldSet blank_, indexBlank_;
    std::shared_ptr<const search::SearchIndex> index_;
    std::vector<std::vector<std::string>> choices_;
    std::shared_ptr<const search::Query> foundBy_; // the query of found_
    std::optional<FoundSet> found_;
    std::vector<std::shared_ptr<const FoundSetStep>> steps_;
};

} // namespace kovra
