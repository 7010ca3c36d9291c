#include "QtJapanese.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kovra {

namespace {
constexpr const char* kTranslatorName = "kovra-qtbase-ja";
}

QStringList QtJapaneseFolders()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString InstallQtJapanese()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return {};
    // The translator belongs to the application, so a later application
    // (the tests make one per process, a C caller may too) gets its own.
    if (auto* installed = app->findChild<QTranslator*>(QLatin1String(kTranslatorName), Qt::FindDirectChildrenOnly))
        return installed->filePath();
    // Dates, sizes and file kinds in the file dialogs follow the default
    // locale, not the translation ("7 Dec 2026", "plain text document").
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(kTranslatorName));
    for (const QString& folder : QtJapaneseFolders()) {
        if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
            QCoreApplication::installTranslator(translator);
            return translator->filePath();
        }
    }
    delete translator;
    return {};
}

} // namespace kovra
