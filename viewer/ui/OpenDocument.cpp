#include "OpenDocument.h"

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
    return slot_.Load(u8(QFileInfo(path).absoluteFilePath()), owner);
}

} // namespace kovra
