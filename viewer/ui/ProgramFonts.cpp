#include "ProgramFonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace kovra {

void SetUpJapaneseFonts()
{
    const QStringList families = QFontDatabase::families();
    auto have = [&](const QString& f) { return families.contains(f, Qt::CaseInsensitive); };

    struct Pair {
        const char16_t* windowsFace;
        const char16_t* asciiFace;
        const char16_t* installed;
    };
    static const Pair pairs[] = {
        {u"ＭＳ 明朝", u"MS Mincho", u"IPAMincho"},
        {u"ＭＳ ゴシック", u"MS Gothic", u"IPAGothic"},
        {u"ＭＳ Ｐゴシック", u"MS PGothic", u"IPAPGothic"},
        {u"ＭＳ Ｐ明朝", u"MS PMincho", u"IPAPMincho"},
        {u"ＭＳ ＵＩ Ｇｏｔｈｉｃ", u"MS UI Gothic", u"IPAPGothic"},
    };
    for (const Pair& p : pairs) {
        const QString installed = QString::fromUtf16(p.installed);
        const QString win = QString::fromUtf16(p.windowsFace);
        // On a Japanese Windows the real faces are there and stay in use.
        if (have(win) || !have(installed))
            continue;
        QFont::insertSubstitution(win, installed);
        QFont::insertSubstitution(QString::fromUtf16(p.asciiFace), installed);
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
