// Page count of a PDF the tests wrote (Qt's writer marks each page object).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kovra::testing {

inline int PdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    int n = 0;
    for (qsizetype i = pdf.indexOf("/Type /Page"); i >= 0; i = pdf.indexOf("/Type /Page", i + 1))
        if (pdf.mid(i, 12) != "/Type /Pages")
            ++n;
    return n;
}

} // namespace kovra::testing
