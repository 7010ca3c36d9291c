// kovra render FORMAT DATA (--pdf OUT.pdf | --png DIR) [--paper CODE]
//   [--landscape] [--dpi N] [--zoom Z]
// --pdf runs the print job's page walk onto a PDF with the form under the
// data; --png writes every preview page as the preview window draws it.
#include "Json.h"
#include "Output.h"
#include "PrintEngineCli.h"
#include "PrintJobs.h"

#include "RenderJob.h"

#include <string>

namespace kovra::cli {

bool RunRender(const RenderJob& job)
{
    const std::string& pdf = job.pdf;
    KeepHeapSlackForPdf();
    auto app = StartPrintEngineGui();
    if (!pdf.empty()) {
        int sheets = 0;
        if (!dorvex::RenderJobToPdf(job.format, job.data, pdf, job.options, &sheets))
            return false;
        std::string out = "{\"pdf\": ";
        AppendJsonString(out, pdf);
        out += ", \"sheets\": " + std::to_string(sheets) + "}";
        PrintLine(stdout, out);
    } else {
        int pages = 0;
        if (!dorvex::RenderPreviewToPng(job.format, job.data, job.png, job.options, &pages))
            return false;
        std::string out = "{\"png\": ";
        AppendJsonString(out, job.png);
        out += ", \"pages\": " + std::to_string(pages) + "}";
        PrintLine(stdout, out);
    }
    return true;
}

} // namespace kovra::cli
