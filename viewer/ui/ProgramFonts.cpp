#include "ProgramFonts.h"

#include "JapaneseFaces.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace kovra {

void SetUpJapaneseFonts()
{
    const QStringList families = QFontDatabase::families();
    auto have = [&](const QString& f) { return families.contains(f, Qt::CaseInsensitive); };

    const auto q = [](std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); };
    for (const FaceStandIn& face : kFaceStandIns) {
        const QString installed = q(face.installed);
        const QString win = q(face.windowsFace);
        // On a Japanese Windows the real faces are there and stay in use.
        if (have(win) || !have(installed))
            continue;
        QFont::insertSubstitution(win, installed);
        QFont::insertSubstitution(q(face.asciiFace), installed);
    }

    // The platform's default face may have no Japanese at all (the offscreen
    // platform, a bare X server); a proportional gothic reads like the
    // system font of a Japanese desktop.
    if (!have(QStringLiteral("MS UI Gothic")) && have(QStringLiteral("IPAPGothic"))) {
        QFont f(QStringLiteral("IPAPGothic"));
        f.setPointSize(9);
        QApplication::setFont(f);
    }
}

} // namespace kovra
