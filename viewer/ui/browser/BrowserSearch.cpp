#include "BrowserSearch.h"

#include "SearchIndex.h"

#include <QCoreApplication>

#include <algorithm>

namespace kovra {

namespace {

// The texts of `field` among the listings, in order of first appearance: the
// choices of a quick filter (a field of a few fixed texts).
std::vector<std::string> DistinctTexts(const TListingDocument& document, Field field)
{
    std::vector<std::string_view> seen;
    const int count = std::min(document.ListingCount, static_cast<int>(document.ListingTable.size()));
    for (int i = 0; i < count; ++i) {
        const std::string_view text = document.ListingTable[static_cast<std::size_t>(i)].field(field);
        if (!text.empty() && std::find(seen.begin(), seen.end(), text) == seen.end())
            seen.push_back(text);
    }
    return {seen.begin(), seen.end()};
}

} // namespace

TBrowserSearch::TBrowserSearch(std::vector<Field> choiceFields, QObject* parent)
    : QObject(parent), choiceFields_(std::move(choiceFields)), choices_(choiceFields_.size())
{
    worker_.setMaxThreadCount(1);
}

TBrowserSearch::~TBrowserSearch()
{
    latestSearch_ = -1;
    worker_.waitForDone();
}

void TBrowserSearch::drop()
{
    ++documentGeneration_;
    latestSearch_ = ++searchGeneration_; // a search still running is for the old document
    index_.reset();
    foundBy_.reset();
    found_.reset();
    choices_.assign(choiceFields_.size(), {});
}

void TBrowserSearch::SetDocument(DocumentPtr document)
{
    drop();
    document_ = std::move(document);
    indexBlank_ = blank_;
    if (!document_)
        return;
    const int generation = documentGeneration_;
    ++pending_;
    worker_.start([this, generation, document = document_, fields = choiceFields_, blank = blank_] {
        auto index = std::make_shared<const search::SearchIndex>(*document, blank);
        std::vector<std::vector<std::string>> choices;
        for (const Field f : fields)
            choices.push_back(DistinctTexts(*document, f));
        QMetaObject::invokeMethod(
            this,
            [this, generation, index = std::move(index), choices = std::move(choices)]() mutable {
                --pending_;
                if (generation != documentGeneration_)
                    return;
                index_ = std::move(index);
                choices_ = std::move(choices);
                emit IndexBuilt();
            },
            Qt::QueuedConnection);
    });
}

int TBrowserSearch::Search(const search::QueryDescription& description)
{
    if (!index_)
        return searchGeneration_;
    auto query = std::make_shared<const search::Query>(description);
    const int generation = ++searchGeneration_;
    latestSearch_ = generation;
    std::shared_ptr<const search::Query> earlier = foundBy_;
    std::vector<int> earlierFound = earlier && found_ ? found_->listings : std::vector<int>{};
    ++pending_;
    worker_.start([this, generation, document = document_, index = index_, query, earlier, steps = steps_,
                   earlierFound = std::move(earlierFound)] {
        FoundSet found;
        found.generation = generation;
        // A keystroke typed since is searched next: this one is not wanted.
        if (generation == latestSearch_) {
            found.listings = earlier ? index->refine(*query, *earlier, earlierFound) : index->run(*query);
            for (const auto& step : steps)
                found.extras.push_back(generation == latestSearch_ ? step->Run(*document, *index, *query, found.listings)
                                                                    : std::any());
        }
        QMetaObject::invokeMethod(
            this,
            [this, query, found = std::move(found)]() mutable {
                --pending_;
                if (found.generation != searchGeneration_)
                    return;
                foundBy_ = query;
                found_ = std::move(found);
                emit Searched();
            },
            Qt::QueuedConnection);
    });
    return generation;
}

void TBrowserSearch::WaitIdle()
{
    // A built index starts a search: wait for that one too.
    do {
        worker_.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    } while (pending_ > 0);
}

} // namespace kovra
