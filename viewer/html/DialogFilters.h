// The filters of the program's file dialogs.  The main window's open dialog
// has four, which the HTML export dialog borrows to pick a template; the
// member-stripped save has one.
#pragma once

#include <QFileDialog>
#include <QStringList>

namespace kovra::services {

// Each filter below is its caption followed by the patterns in brackets, as
// Qt wants them; the dialog shows the caption only (otherwise Qt appends the
// patterns to a caption that already names them).  Call before the filters
// are set.
inline void ShowFilterCaptionsOnly(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
}

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

// The export of the listings found in the listing browser: CSV first; XLSX
// where the program can write it.
inline QStringList ListingExportFilters(bool xlsx)
{
    QStringList filters{QStringLiteral("CSVファイル (*.csv)")};
    if (xlsx)
        filters << QStringLiteral("Excelブック (*.xlsx)");
    return filters;
}

inline QString StrippedSaveFilter() { return QStringLiteral("会員項目削除データー(*.kvd) (*.kvd)"); }
inline QString StrippedSaveSuffix() { return QStringLiteral("kvd"); }

} // namespace kovra::services
