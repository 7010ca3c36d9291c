// One open file as the windows see it: the listing core's DocumentSlot and
// the one signal that every window and run holding it follows.  The
// program's window set owns one for the file on show; another beside it
// (the file to compare with) is independent of the first.
#pragma once

#include "DocumentSlot.h"

#include <QObject>
#include <QString>

class QWidget;

namespace kovra {

class TOpenDocument : public QObject {
    Q_OBJECT
public:
    explicit TOpenDocument(QObject* parent = nullptr);
    ~TOpenDocument() override;

    DocumentSlot& Slot() { return slot_; }
    DocumentPtr Document() const { return slot_.Document(); }
    bool InUseByRun() const { return slot_.InUseByRun(); }

    // Loads `path` (kept as a full path: the stripped save reads the file
    // again later) off the GUI thread, with a progress window and 中止 when
    // it takes a while, and tells the user what went wrong, in boxes owned
    // by `owner`.
    LoadOutcome Load(const QString& path, QWidget* owner);

signals:
    // Another document is on show, or a run began or ended reading it.
    void Changed();

private:
    DocumentSlot slot_;
};

} // namespace kovra
