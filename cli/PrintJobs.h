// The job descriptions of the print engine's commands and the functions
// that do their work (as in Jobs.h).  Only a build with the print engine.
#pragma once

#include "Jobs.h"

#include "RenderJob.h"

#include <optional>
#include <string>

namespace kovra::cli {

struct PagesJob {
    std::string format, data;
};
struct RenderJob {
    std::string format, data;
    std::string pdf, png; // one of the two: OUT.pdf or the folder of the page images
    dorvex::RenderOptions options;
};
struct ReportJob {
    std::string file;
    std::string out, pdf;     // one of the two: the print data file or OUT.pdf
    bool all = false;
    std::optional<int> listing; // 1-based; none: the first
    bool noMemberPrint = false;
};

bool RunPages(const PagesJob& job);
bool RunRender(const RenderJob& job);
bool RunReport(const ReportJob& job);

} // namespace kovra::cli
