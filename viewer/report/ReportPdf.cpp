#include "ReportPdf.h"

namespace kovra {

ReportPdfOutcome WritePrintDataPdf(const std::function<ReportOutcome(const std::string& dataFile)>& write,
                                   const std::string& pdf, const dorvex::RenderOptions& options,
                                   const std::function<bool(const ReportOutcome&)>& beforeRendering)
{
    // The data file lives only while the PDF is made, in the job's own folder.
    ReportPdfOutcome outcome;
    const ReportJobOutcome job = RunReportJob("kovra-print.tmp", write, [&](const ReportOutcome& written) {
        if (beforeRendering && !beforeRendering(written))
            return false;
        return dorvex::RenderJobToPdf(written.formatFile, written.dataFile, pdf, options, &outcome.sheets);
    });
    outcome.written = job.written;
    outcome.rendered = job.printed;
    return outcome;
}

} // namespace kovra
