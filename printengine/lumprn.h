// TLUMPrint: the current printer's settings, on one process-wide QPrinter.
// Paper codes are the Windows device-mode codes (9 = A4, 256 = user size).
#pragma once

#include <cstdint>

class QPrinter;
class QString;

namespace dorvex {

// The printer of the process: the system's default printer (else the first
// one installed), or a PDF file printer where none is installed.  Created
// on first use (needs a Qt application), released when that application
// object is destroyed, made again on the next use after that.
QPrinter& ThePrinter();
// Makes `name` (empty: a PDF file) the printer of the process, keeping
// paper and orientation.  The printer as it stands when it already is that
// printer (or a PDF file printer), so the options chosen for it stay; a new
// one otherwise.
// References to the former printer are void after a change.
QPrinter& UsePrinter(const QString& name);
bool ThePrinterExists();
bool ThePrinterIsPdf();

class TLUMPrint {
public:
    TLUMPrint(); // selects the default printer, TrueType option 1
    int16_t GetPrinterPaper() const;
    void SetPrinterPaper(int16_t code);
    void SetPrinterTrueType(int16_t option) { trueTypeOption_ = option; }
    int16_t PrinterTrueType() const { return trueTypeOption_; }
    // Length and width in 0.1 mm.
    void SetPrinterUserSize(int16_t length, int16_t width);
    void ClearPrinterUserSize();
    // Back to the default printer (a cancelled print dialog, a PDF file
    // printed), with that printer's own settings.
    void SelectDefaultPrinter();

private:
    int16_t paperCode_ = 0; // the code last set, as the device mode holds it
    int16_t trueTypeOption_ = 1;
};

// Process-wide on purpose: a paper, orientation or TrueType option set by one
// job stays set on the printer for the next job of the process.
TLUMPrint& ThePrinterSettings();

// Device capabilities of the current printer: printable size in whole mm,
// resolution in dots per inch.
int PrinterHorzSizeMm();
int PrinterVertSizeMm();
int PrinterLogPixelsX();
int PrinterLogPixelsY();
bool PrinterLandscape();
void SetPrinterLandscape(bool landscape);

} // namespace dorvex
