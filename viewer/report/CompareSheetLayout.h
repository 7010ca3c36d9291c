// The comparison sheet on paper: its texts written as a print data file for
// the form "KvCompare.FOM" (A4 landscape), page after page when the rows
// are more than one page holds.
#pragma once

#include "CompareSheet.h"
#include "ReportLayout.h"
#include "UserSettings.h"

#include <string>

namespace kovra {

inline constexpr const char* kCompareFormatFile = "KvCompare.FOM";
inline constexpr const char* kCompareCaption = "KovraViewer 比較表";
inline constexpr int kCompareRowsPerPage = 18;

struct CompareSheetRequest {
    services::ProfileTexts profile; // the user's contact line at the foot
    std::string formatFile;         // empty: the shipped "KvCompare.FOM"
    std::string dataFile;           // where the print data goes
};

// Sets the print writer's paths, paper and title and writes the sheet's
// data file.  A sheet without listings or rows writes nothing.
ReportOutcome WriteCompareSheet(const search::CompareSheet& sheet, const CompareSheetRequest& request);

} // namespace kovra
