#include "ProgramFiles.h"

#include "Cp932Codec.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace kovra {

fileio::ReadResult ReadCp932Lines(const QString& path, QStringList& lines, std::uint64_t limit)
{
    std::string bytes;
    const fileio::ReadResult read = fileio::ReadWholeFile(path.toStdString(), bytes, limit);
    if (!read.ok())
        return read;
    const std::string utf8 = cp932::toUtf8(bytes);
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    lines.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return read;
}

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
