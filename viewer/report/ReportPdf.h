// The report rendered onto a PDF file with the report's form, as the print
// job draws it: no printer, no window.  Needs a Qt GUI application.
#pragma once

#include "ReportJob.h"

#include <functional>
#include <string>

namespace kovra {

struct ReportPdfOutcome {
    ReportOutcome written; // the data file (why nothing was written)
    bool rendered = false; // the PDF is in place
    int sheets = 0;
};

// Writes the report's data file into the temporary folder, renders it onto
// `pdf` (written whole or not at all) and removes the data file again, also
// after a failure.  `beforeRendering` learns of the data file just written.
ReportPdfOutcome WriteReportPdf(const TListingDocument& listings, ReportRequest request, const std::string& pdf,
                                const std::function<void(const ReportOutcome&)>& beforeRendering = {});

} // namespace kovra
