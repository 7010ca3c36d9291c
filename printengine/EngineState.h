// The print engine's job state: one module-level object, one job at a time
// per process.  The names are the ones every unit of the engine uses.
#pragma once

#include <set>
#include <string>

namespace dorvex {

struct TEngineState {
    std::string FormatFileName; // UTF-8; empty = the pages have no form
    std::string DataFileName;   // UTF-8
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

    // Image files already reported as unreadable during this job, so a
    // repainted preview does not repeat the message on every paint.
    std::set<std::string> ReportedImages;
};

// The engine state of this process (or of this copy of the library).
TEngineState& Engine();

// Back to the values the library starts with.
void ResetEngineState();

// Start of a print job or preview: forget which images were reported.
void BeginJobMessages();

} // namespace dorvex
