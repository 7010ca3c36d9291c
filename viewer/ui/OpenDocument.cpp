#include "OpenDocument.h"

#include "ProgressWindow.h"
#include "QtText.h"

#include <QFileInfo>

namespace kovra {

TOpenDocument::TOpenDocument(QObject* parent) : QObject(parent)
{
    slot_.SetObserver([this] { emit Changed(); });
}

TOpenDocument::~TOpenDocument() { slot_.SetObserver({}); }

LoadOutcome TOpenDocument::Load(const QString& path, QWidget* owner)
{
    return slot_.Load(u8(QFileInfo(path).absoluteFilePath()), owner,
                      [owner](const std::function<void(WorkProgress&)>& load) {
                          return RunWithProgress(owner, QStringLiteral("データーを読み込んでいます..."), load);
                      });
}

} // namespace kovra
