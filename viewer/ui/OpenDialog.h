// The main window's file-open dialog, which the HTML export dialog borrows
// to pick a template.  One place for its four filters.
#pragma once

#include <QStringList>

namespace kovra {

// In this order: text files, member-stripped files, HTML files, all files.
inline QStringList OpenDialogFilters()
{
    return {
        QStringLiteral("テキストファイル(*.TXT *.CSV) (*.TXT *.CSV *.kvd *.txt *.csv)"),
        QStringLiteral("会員項目削除ファイル(*.kvd) (*.kvd)"),
        QStringLiteral("HTMLファイル (*.htm *.html)"),
        QStringLiteral("すべてのファイル (*)"),
    };
}

enum class OpenFilter { Text = 0, MemberStripped = 1, Html = 2, All = 3 };

} // namespace kovra
