// A job of the viewer's own forms (the report, the comparison sheet) from
// its print data to the print engine: the data file written, then handed to
// whatever prints it.  The windows print or preview the report on the
// engine's windows; `kovra` renders its jobs onto a PDF (ReportPdf.h).
#pragma once

#include "ReportLayout.h"

#include <functional>

namespace kovra {

// Writes a job's print data into `dataFile` (WriteReport, WriteCompareSheet).
using ReportWriter = std::function<ReportOutcome(const std::string& dataFile)>;
// Takes a written job (its data file and form, ReportOutcome) to paper or
// screen; false when that failed or was left undone (the sink has said why).
using ReportSink = std::function<bool(const ReportOutcome& written)>;

struct ReportJobOutcome {
    ReportOutcome written;
    bool handedOver = false; // the sink was called
    bool printed = false;    // and it succeeded
};

// Writes the job's data file, named `dataFileName`, into a folder of the
// job's own (PrintJobFolder.h) and hands it to `sink`; when nothing was
// written the sink is not called.  The file and its folder are gone when
// this returns.
ReportJobOutcome RunReportJob(const std::string& dataFileName, const ReportWriter& write, const ReportSink& sink);

} // namespace kovra
