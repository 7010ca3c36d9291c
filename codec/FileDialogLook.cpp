#include "FileDialogLook.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

namespace kovra {
namespace {

// Columns of QFileSystemModel: name, size, kind, date modified.
enum Column { kSize = 1, kKind = 2, kModified = 3 };

class JapaneseFileColumns final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale japanese; // the default locale, Japanese (QtJapanese.h)
        switch (index.column()) {
        case kSize:
            if (files->isDir(source))
                return QString();
            return japanese.formattedDataSize(files->size(source), 1, QLocale::DataSizeTraditionalFormat);
        case kKind:
            if (files->isDir(source))
                return QStringLiteral("フォルダー");
            break;
        case kModified: return japanese.toString(files->lastModified(source), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

void MakeFileDialogJapanese(QFileDialog& dialog)
{
    // Filter captions name their patterns already: Qt must not append them again.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setProxyModel(new JapaneseFileColumns(&dialog));
    // Each column as wide as its texts (Japanese dates and kinds are wider
    // than the English ones the default widths were made for); the name
    // takes what is left.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c : {kSize, kKind, kModified})
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
    dialog.resize(dialog.size().expandedTo(QSize(760, 460)));
}

} // namespace kovra
