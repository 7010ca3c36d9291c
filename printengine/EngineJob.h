// One job of the print engine: a print job, a preview, or a job of the
// command line.  Each holds its own state, under the names every unit of
// the engine uses, and its two files; several jobs may live at once (the
// preview's, and the print job started from it).  What the printer keeps
// (paper, orientation, user paper size, TrueType option) and the font lists
// belong to the process, not to a job.
#pragma once

#include "Imageout.h"

#include <set>
#include <string>
#include <vector>

namespace dorvex {

struct TEngineJob {
    TEngineJob() = default;
    TEngineJob(std::string formatFileName, std::string dataFileName);

    std::string FormatFileName; // UTF-8; empty = the pages have no form
    std::string DataFileName;   // UTF-8
    std::string JobName;        // UTF-8, what the print queue shows
    int CallerTopMargin = 0;    // 0.1 mm, from the caller of the engine
    int CallerLeftMargin = 0;
    int FormatTopMargin = 0;    // 0.1 mm, from the format file's "M" line
    int FormatLeftMargin = 0;
    bool FormatMarginsGiven = false;
    int CustomPaperWidth = 0;   // 0.1 mm, from the "P" line
    int CustomPaperHeight = 0;
    int DisplayOffsetX = 0;     // surface units, from the "D" line
    int DisplayOffsetY = 0;
    int PaperState = 0;         // 0 not looked up, 1 size known, 2 unknown
    int OriginX = 0;            // 0.1 mm, relative to the printable area
    int OriginY = 0;
    bool PrintFormatPages = false;
    int PageTotal = 1;
    int CurrentPage = 1;
    int FieldCursor = 0;        // 1-based position of the next field

    // The run of a print job.
    bool PrintCancelled = false;
    bool PageRangeGiven = false;
    int PagesLeft = 0;
    bool StartFailed = false;   // a file was missing or unnamed: nothing printed
    int SheetsPrinted = 0;

    // Image files already reported as unreadable during this job, so a
    // repainted preview does not repeat the message on every paint.
    std::set<std::string> ReportedImages;

    // The job's files, read whole when opened and kept until the job ends:
    // a preview turns pages and repaints without reading them again.
    PrintFile formatFile;
    PrintFile dataFile;
    // The format file when the job has one open.
    PrintFile* formatOrNull() { return formatFile.isOpen() ? &formatFile : nullptr; }

    // Opens both files as the print job needs them: false, after its
    // message, when the format file is named but missing or unreadable, or
    // the data file is unnamed, missing or unreadable; nothing is open then.
    bool openFiles();
    // The files the job reads: its format and data files and the images
    // their "I" lines name.  Taken from the open files, or read for this
    // when they are not open (quietly: opening them says what is wrong).
    std::vector<std::string> inputFiles() const;
    // Opens what the preview can show: a missing format file is said and
    // the pages have no form; an unnamed or missing data file is said and
    // leaves nothing to draw (the data file is not open).
    void openFilesToShow();
};

} // namespace dorvex
