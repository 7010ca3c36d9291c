// A job of the viewer's own forms rendered onto a PDF file, as the print job
// draws it: no printer, no window.  Needs a Qt GUI application by the time
// the job is rendered.
#pragma once

#include "RenderJob.h"
#include "ReportJob.h"

#include <functional>
#include <string>

namespace kovra {

struct ReportPdfOutcome {
    ReportOutcome written; // the data file (why nothing was written)
    bool rendered = false; // the PDF is in place
    int sheets = 0;
};

// Writes the job's print data into a file of the job's own (RunReportJob;
// `write` is given its path), renders it with its form onto `pdf` (written whole or not at all)
// and removes the data file again, also after a failure.
// `beforeRendering` learns of the data file just written and may stop the
// job (false: nothing is rendered).
ReportPdfOutcome WritePrintDataPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write,
                                   const std::string& pdf, const dorvex::RenderOptions& options,
                                   const std::function<bool(const ReportOutcome&)>& beforeRendering = {});

} // namespace kovra
