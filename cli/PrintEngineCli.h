// Shared by `kovra render` and `kovra report --pdf`: the print engine needs
// a Qt GUI application for fonts and painting, which the listing commands
// never start.
#pragma once

#include "ReportPdf.h"

#include <QGuiApplication>

#include <functional>
#include <memory>
#include <string>

namespace kovra::cli {

// A QGuiApplication for the running subcommand (the offscreen platform when
// no display is there); null when one exists already.
std::unique_ptr<QGuiApplication> StartPrintEngineGui();

// Qt's PDF writer grows and frees a page buffer on every sheet; without some
// slack at the top of the heap glibc gives the memory back to the system
// each time, which costs more than the drawing itself.  No-op elsewhere.
void KeepHeapSlackForPdf();

// Says on stderr how many characters of a written job the code page lacked.
void SayUnmappable(const ReportOutcome& written);

// A job of our own forms onto a PDF (WritePrintDataPdf): `write` puts the
// job's print data at the path it is given and says which form goes with
// it; the job is rendered onto `pdf`, and {"pdf": "…", "sheets": N} is
// printed.  False after a message.
bool RenderPrintDataToPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write, const std::string& pdf,
                          const dorvex::RenderOptions& options);

} // namespace kovra::cli
