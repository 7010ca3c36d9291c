// The comparison sheet window: opened on 2 to 8 selected listings, its rows
// chosen and kept, printed landscape without leaving the report landscape.
#include "UiTestSupport.h"

#include "CompareSheet.h"
#include "CompareWindow.h"
#include "ListingBrowser.h"
#include "ListingTableModel.h"
#include "MainForm.h"
#include "PdfPages.h"
#include "PrintTool.h"
#include "ProgramWindows.h"
#include "ReportRun.h"

#include "Printout.h"
#include "lumprn.h"

#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace kovra::testing {
namespace {

// Width > height of the first page of a PDF Qt wrote.
bool FirstPageLandscape(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble();
}

class CompareWindowTest : public UiTest {};

// Guards the sheet's opening (only on 2 to 8 selected listings), its rows
// (the default ones, a market row under each quantity, a row chosen kept
// for the next sheet) and its printing: landscape, and the report printed
// next is portrait again.
TEST_F(CompareWindowTest, RowsKeptAndPrintedLandscapeOnly)
{
    std::vector<Columns> listings;
    for (int n = 1; n <= 10; ++n)
        listings.push_back(SaleListing(n));
    const QString file = WriteListingFile(tmp_.path(), QStringLiteral("ten.txt"), listings);
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(tmp_.path()); // the report's data file goes to the current folder
    QPrinter& printer = dorvex::ThePrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setFullPage(true);
    printer.setResolution(150);
    const ReportEngine engine{[] {
                                  const PrintToolSettings& s = TPrintTool::Settings();
                                  return dorvex::ScalPrintUtf8(s.formatFileName, s.dataFileName, s.printingMessage,
                                                               s.paperCode, s.orientation, s.topMargin, s.leftMargin,
                                                               s.printForm != 0, false) != 0;
                              },
                              {}};
    ProgramWindows w = CreateProgramWindows(file, engine);
    w.MainForm->BrowserMenuClick();
    TListingBrowser* b = w.MainForm->ListingBrowser();
    b->WaitIdle();

    const struct {
        int selected;
        bool opens;
    } cases[] = {{1, false}, {2, true}, {8, true}, {9, false}, {4, true}};
    TCompareWindow* sheet = nullptr;
    for (const auto& c : cases) {
        std::vector<int> chosen(static_cast<std::size_t>(c.selected));
        for (int k = 0; k < c.selected; ++k)
            chosen[static_cast<std::size_t>(k)] = k;
        b->SelectListings(chosen);
        EXPECT_EQ(b->CompareSheetBtn->isEnabled(), c.opens) << c.selected;
        QWidget* opened = b->OpenCompareSheet();
        EXPECT_EQ(opened != nullptr, c.opens) << c.selected;
        if (opened && c.selected != 4)
            opened->close();
        else if (opened)
            sheet = qobject_cast<TCompareWindow*>(opened);
    }
    ASSERT_NE(sheet, nullptr);

    // Ctrl-clicks add rows: the main window follows the row clicked, and the
    // selection stays.
    b->SelectListings({});
    for (const int row : {2, 5, 7}) {
        const QRect rect = b->ListView->visualRect(b->Model()->index(row, static_cast<int>(Field::BukkennNum)));
        QTest::mouseClick(b->ListView->viewport(), Qt::LeftButton, Qt::ControlModifier, rect.center());
    }
    EXPECT_EQ(b->SelectedListings(), (std::vector<int>{2, 5, 7}));
    EXPECT_EQ(w.MainForm->ShownListingNumber(), 8);
    EXPECT_TRUE(b->CompareSheetBtn->isEnabled());

    const std::size_t defaults = search::DefaultCompareRows().size();
    ASSERT_EQ(sheet->Sheet().rows.size(), defaults);
    EXPECT_EQ(sheet->SheetView->columnCount(), 4);
    int quantities = 0;
    for (const search::CompareRow& row : sheet->Sheet().rows)
        quantities += row.quantity;
    EXPECT_GT(quantities, 0);
    EXPECT_EQ(sheet->SheetView->rowCount(), static_cast<int>(defaults) + quantities);

    sheet->SetRowChosen(static_cast<int>(Field::Bikou), true);
    EXPECT_EQ(w.Settings->CompareRows.back(), "Bikou");
    EXPECT_EQ(ChosenCompareRows(*w.Settings).size(), defaults + 1);
    sheet->SetRowChosen(static_cast<int>(Field::Bikou), false);
    EXPECT_TRUE(w.Settings->CompareRows.empty()) << "the default rows again: nothing stored";
    sheet->SetRowChosen(static_cast<int>(Field::Kakaku), false);
    EXPECT_EQ(ChosenCompareRows(*w.Settings).size(), defaults - 1);

    const QString sheetPdf = Path(QStringLiteral("sheet.pdf")), reportPdf = Path(QStringLiteral("report.pdf"));
    printer.setOutputFileName(sheetPdf);
    ASSERT_TRUE(sheet->PrintSheet(false));
    EXPECT_EQ(PdfPageCount(sheetPdf), 1);
    EXPECT_TRUE(FirstPageLandscape(sheetPdf));

    printer.setOutputFileName(reportPdf);
    QTimer::singleShot(0, w.ReportSupDlg, [&] { w.ReportSupDlg->OKBtn->click(); });
    w.MainForm->PrintMenuClick();
    EXPECT_EQ(PdfPageCount(reportPdf), 1);
    EXPECT_FALSE(FirstPageLandscape(reportPdf));
    QDir::setCurrent(previousDir);
}

} // namespace
} // namespace kovra::testing
