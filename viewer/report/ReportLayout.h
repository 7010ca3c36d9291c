// The one-page report of a listing: its 28 text items written as a print
// data file for the report form "KvReport.FOM".
#pragma once

#include "ListingDocument.h"
#include "UserSettings.h"
#include "WorkProgress.h"

#include <optional>
#include <string>
#include <vector>

namespace kovra {

struct ReportRequest {
    bool allListings = false;
    int shownListingNumber = 0; // 1-based; used when !allListings
    // Set: these listings instead (0-based table indices, one page each in
    // this order, such as the listings a search found); indices outside the
    // table are passed over.
    std::optional<std::vector<int>> chosenListings;
    bool memberPrintOk = true;
    // The user's own contact block at the foot of every page (all but the
    // home page).
    services::ProfileTexts profile;
    std::string formatFile; // the report form; empty: the shipped "KvReport.FOM"
    std::string dataFile;   // where the print data goes (the job's own file, RunReportJob)
};

struct ReportOutcome {
    bool written = false;    // the data file is ready for the engine
    int pages = 0;
    std::string dataFile;    // where it went
    std::string formatFile;  // the report form the data file goes with
    std::string message;     // why nothing was written (empty: nothing to do)
    std::size_t unmappable = 0; // characters written as "?"
    std::string unmappableCharacters; // which: each once, UTF-8
};

inline constexpr const char* kReportDataFile = "KvReport.tmp";
inline constexpr const char* kReportFormatFile = "KvReport.FOM";
inline constexpr const char* kReportCaption = "KovraViewer Report";
inline constexpr int kReportPaperA4 = 9;

// Sets the print writer's paths, paper and title and writes the report's
// data file for the listings asked for.  A listing number outside
// 1..ListingCount writes nothing and says nothing.  A data file that is the
// export file or the form is refused.  A remark or a
// contact line too long for its box is written smaller or on more lines
// (TextFit.h).  `progress` (when given) counts the pages; once stopped,
// nothing is written and nothing said, and an earlier data file stays.
ReportOutcome WriteReport(const TListingDocument& listings, const ReportRequest& request,
                          WorkProgress* progress = nullptr);

} // namespace kovra
