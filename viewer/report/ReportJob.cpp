#include "ReportJob.h"

namespace kovra {

ReportJobOutcome RunReportJob(const ReportWriter& write, const ReportSink& sink)
{
    ReportJobOutcome outcome;
    outcome.written = write();
    if (!outcome.written.written || !sink)
        return outcome;
    outcome.handedOver = true;
    outcome.printed = sink(outcome.written);
    return outcome;
}

} // namespace kovra
