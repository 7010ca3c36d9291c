#include "ReportJob.h"

namespace kovra {

ReportJobOutcome RunReportJob(const TListingDocument& listings, const ReportRequest& request, const ReportSink& sink)
{
    ReportJobOutcome outcome;
    outcome.written = WriteReport(listings, request);
    if (!outcome.written.written || !sink)
        return outcome;
    outcome.handedOver = true;
    outcome.printed = sink(outcome.written);
    return outcome;
}

} // namespace kovra
