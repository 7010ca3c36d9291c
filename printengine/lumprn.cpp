#include "lumprn.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <utility>

namespace dorvex {
namespace {

constexpr int16_t kUserPaper = 256;

QPrinter*& PrinterSlot()
{
    static QPrinter* printer = nullptr;
    return printer;
}

// Qt runs its post routines first thing in the application object's
// destructor, while the print support the printer holds on to is still
// there; a static printer would go only after the application, when its
// print engine and plug-in are gone.
void ReleaseThePrinter()
{
    delete PrinterSlot();
    PrinterSlot() = nullptr;
}

// When the library is unloaded before the caller's application ends, the
// post routine must not be left pointing into it.
struct UnloadRelease {
    ~UnloadRelease()
    {
        if (!PrinterSlot())
            return;
        qRemovePostRoutine(ReleaseThePrinter);
        ReleaseThePrinter();
    }
};

// The printer a job goes to unless the user chooses another: the system's
// default printer, else the first one installed; none: empty.
QString DefaultPrinterName()
{
    const QPrinterInfo def = QPrinterInfo::defaultPrinter();
    if (!def.isNull())
        return def.printerName();
    const QStringList installed = QPrinterInfo::availablePrinterNames();
    return installed.isEmpty() ? QString() : installed.first();
}

// A printer of its own for `name` (empty: a PDF file, chosen in the print
// dialog), on the paper and in the orientation of `before` when given.
QPrinter* MakePrinter(const QString& name, const QPrinter* before)
{
    auto* p = new QPrinter(QPrinter::HighResolution);
    if (!name.isEmpty()) {
        p->setOutputFormat(QPrinter::NativeFormat);
        p->setPrinterName(name);
    }
    if (name.isEmpty() || p->outputFormat() != QPrinter::NativeFormat || p->printerName() != name) {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setFullPage(true);
    }
    if (before) {
        p->setPageSize(before->pageLayout().pageSize());
        p->setPageOrientation(before->pageLayout().orientation());
    }
    return p;
}

} // namespace

QPrinter& ThePrinter()
{
    static UnloadRelease unloadRelease;
    QPrinter*& slot = PrinterSlot();
    if (!slot) {
        slot = MakePrinter(DefaultPrinterName(), nullptr);
        // A library that made its own application keeps it, and so the
        // printer, for the life of the process.
        qAddPostRoutine(ReleaseThePrinter);
    }
    return *slot;
}

QPrinter& UsePrinter(const QString& name)
{
    QPrinter& current = ThePrinter();
    const bool pdf = current.outputFormat() == QPrinter::PdfFormat;
    if (name.isEmpty() ? pdf : !pdf && current.printerName() == name)
        return current;
    // A new printer object: what was chosen for another printer (its
    // duplex, trays, the driver's own options) does not go to this one.
    QPrinter* fresh = MakePrinter(name, &current);
    delete std::exchange(PrinterSlot(), fresh);
    return *fresh;
}

bool ThePrinterExists()
{
    return PrinterSlot() != nullptr;
}

bool ThePrinterIsPdf()
{
    return ThePrinter().outputFormat() == QPrinter::PdfFormat;
}

TLUMPrint::TLUMPrint()
{
    SelectDefaultPrinter();
    trueTypeOption_ = 1;
}

void TLUMPrint::SelectDefaultPrinter()
{
    UsePrinter(DefaultPrinterName());
}

int16_t TLUMPrint::GetPrinterPaper() const
{
    const QPageSize size = ThePrinter().pageLayout().pageSize();
    if (paperCode_ != 0 && (paperCode_ == kUserPaper ? size.id() == QPageSize::Custom
                                                     : size.id() == QPageSize::id(paperCode_)))
        return paperCode_;
    if (size.id() == QPageSize::Custom)
        return kUserPaper;
    return int16_t(size.windowsId());
}

void TLUMPrint::SetPrinterPaper(int16_t code)
{
    paperCode_ = code;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id != QPageSize::Custom)
        ThePrinter().setPageSize(QPageSize(id));
}

void TLUMPrint::SetPrinterUserSize(int16_t length, int16_t width)
{
    if (length <= 0 || width <= 0)
        return;
    paperCode_ = kUserPaper;
    ThePrinter().setPageSize(QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter, QString(),
                                       QPageSize::ExactMatch));
}

void TLUMPrint::ClearPrinterUserSize()
{
    // A user size left from an earlier job gives way to the code's own size.
    if (ThePrinter().pageLayout().pageSize().id() == QPageSize::Custom && paperCode_ != kUserPaper
        && QPageSize::id(paperCode_) != QPageSize::Custom)
        ThePrinter().setPageSize(QPageSize(QPageSize::id(paperCode_)));
}

TLUMPrint& ThePrinterSettings()
{
    static TLUMPrint settings;
    return settings;
}

int PrinterHorzSizeMm()
{
    return int(std::floor(ThePrinter().pageLayout().paintRect(QPageLayout::Millimeter).width() + 1e-6));
}

int PrinterVertSizeMm()
{
    return int(std::floor(ThePrinter().pageLayout().paintRect(QPageLayout::Millimeter).height() + 1e-6));
}

int PrinterLogPixelsX()
{
    return ThePrinter().logicalDpiX();
}

int PrinterLogPixelsY()
{
    return ThePrinter().logicalDpiY();
}

bool PrinterLandscape()
{
    return ThePrinter().pageLayout().orientation() == QPageLayout::Landscape;
}

void SetPrinterLandscape(bool landscape)
{
    ThePrinter().setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

} // namespace dorvex
