// A report from the listings to the print engine: the data file written,
// then handed to whatever prints it.  The windows print or preview it on
// the engine's windows; `kovra report --pdf` renders it onto a PDF.
#pragma once

#include "ReportLayout.h"

#include <functional>

namespace kovra {

// Takes a written report (its data file and form, ReportOutcome) to paper
// or screen; false when that failed (the engine has said why).
using ReportSink = std::function<bool(const ReportOutcome& written)>;

struct ReportJobOutcome {
    ReportOutcome written;
    bool handedOver = false; // the sink was called
    bool printed = false;    // and it succeeded
};

// Writes the report's data file (WriteReport) and hands it to `sink`; when
// nothing was written the sink is not called.
ReportJobOutcome RunReportJob(const TListingDocument& listings, const ReportRequest& request, const ReportSink& sink);

} // namespace kovra
