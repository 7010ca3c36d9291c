// What the commands of `kovra` are asked to do: the job description each
// one's arguments are parsed into, and the function that does the work.  A
// run function prints its output and its messages (the viewer's, on
// stderr) and returns false when the work failed.
#pragma once

#include "SearchQuery.h"

#include <optional>
#include <string>
#include <vector>

namespace kovra::cli {

struct DumpJob {
    std::string file;
};
struct InfoJob {
    std::string file;
};
struct StripJob {
    std::string file, out;
};
struct SummaryJob {
    std::optional<std::string> file; // none: the sample beside the program
};
struct HtmlJob {
    std::string file, templatePath, outDir;
    std::string fieldListPath; // empty: the FieldList beside the program
    bool yes = false;          // overwrite existing pages without asking
};
// noMember (--no-member): the member fields are neither searched nor
// counted nor written, as in the viewer with the member display off.
struct FindJob {
    std::string file;
    search::QueryDescription query;
    bool noMember = false;
};
struct ExportJob {
    std::string file;
    search::QueryDescription query;
    std::string csvOut, xlsxOut; // one of the two
    bool noMember = false;
};

struct StatsJob {
    std::string file;
    search::QueryDescription query;
    bool noMember = false;
    int by = -1;               // group field; -1: one group
    std::vector<int> measures; // empty: the default measures
};
struct CompareJob {
    std::string file;
    std::vector<std::string> numbers; // BukkennNum of each column
    std::string pdf, csv;             // one of the two
};
struct ChangesJob {
    std::string oldFile, newFile;
    std::string csvOut, xlsxOut; // at most one of the two: none prints the lines
};

bool RunDump(const DumpJob& job);
bool RunInfo(const InfoJob& job);
bool RunStrip(const StripJob& job);
bool RunSummary(const SummaryJob& job);
bool RunHtml(const HtmlJob& job);
bool RunFind(const FindJob& job);
bool RunExport(const ExportJob& job);
bool RunStats(const StatsJob& job);
bool RunCompare(const CompareJob& job);
bool RunChanges(const ChangesJob& job);

} // namespace kovra::cli
