// The change view's comparison: the file on show against an older file of
// the same search, loaded beside it as a document of its own.  The older
// file loads and the two are compared off the GUI thread; the windows
// (browser columns and filter, the main window's price line) read the
// result, which is always of the file on show or none.
#pragma once

#include "ListingChanges.h"
#include "ListingDocument.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <memory>

class QWidget;

namespace kovra {

class TOpenDocument;

// One comparison and the two documents it reads (kept alive with it).
struct ChangeState {
    DocumentPtr before, after;
    changes::Comparison comparison;

    // The finding of listing `index` (0-based) of the newer file, or null.
    const changes::Finding* ofNew(int index) const { return comparison.ofNew(index); }
};
using ChangeStatePtr = std::shared_ptr<const ChangeState>;

class TChangeView : public QObject {
    Q_OBJECT
public:
    // Compares whatever `current` shows with the older file, from the
    // first older file on.
    explicit TChangeView(TOpenDocument& current, QObject* parent = nullptr);
    ~TChangeView() override;

    // Loads `path` as the older file, off the GUI thread; what went wrong
    // is said in boxes owned by `owner`, and a file that gave no listings
    // leaves the comparison as it was.
    void CompareWith(const QString& path, QWidget* owner);
    // The older file made elsewhere (an archive's import).
    void CompareWithDocument(std::shared_ptr<TListingDocument> older);
    // Ends the comparison.
    void Stop();

    // The comparison of the file on show; null while there is none (no
    // older file, or still comparing).
    ChangeStatePtr State() const;
    DocumentPtr Older() const { return older_; }

    bool Busy() const { return pending_ > 0; }
    // Blocks until the loads and comparisons asked for are done and shown.
    void WaitIdle();

signals:
    // Another comparison, or none.
    void Changed();

private:
    void documentChanged();
    void compare();

    TOpenDocument& current_;
    QThreadPool worker_; // one thread: loads and comparisons in order
    int pending_ = 0;
    int generation_ = 0; // of the latest request; older results are dropped
    DocumentPtr older_;
    ChangeStatePtr state_;
};

} // namespace kovra
