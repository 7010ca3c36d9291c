// The viewer's side of the print engine: writes print data files (text
// items and page ends) and hands them with a format file to the engine.
#pragma once

#include "FileIO.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kovra {

// Settings shared by every TPrintTool and kept from one report to the next.
// Process-wide on purpose: a report sets only the settings it needs, and a
// setting made by one report (the paper, the print dialog switch) holds for
// the next, as the writer's callers expect.
struct PrintToolSettings {
    std::string dataFileName = "pdbwork.tmp"; // UTF-8 paths
    std::string formatFileName;
    std::string previewTitle;
    std::string jobName; // what the print queue shows; empty: the data file's name
    std::string printingMessage = "只今、印刷中";
    std::int32_t paperCode = 0;
    std::int32_t orientation = 0;
    std::int32_t topMargin = 0;
    std::int32_t leftMargin = 0;
    std::uint8_t printForm = 1;
    std::uint8_t showPrintDialog = 1;
};

// A text as an item may carry it: the engine cuts an item at ";", which
// would move every later field of the line, so ";" becomes the full-width
// "；", which reads the same on paper.
std::string ItemText(std::string_view text);

class TPrintTool {
public:
    static PrintToolSettings& Settings(); // the module-level settings
    static void ResetSettings();          // back to the defaults (tests)

    void SetDataFileName(const std::string& path) { Settings().dataFileName = path; }
    void SetFormatFileName(const std::string& path) { Settings().formatFileName = path; }
    void SetPaperCode(std::int32_t code) { Settings().paperCode = code; }
    // 0 portrait, 1 landscape.  Every job sets its own: the setting would
    // otherwise carry a landscape sheet's orientation into the next report.
    void SetOrientation(std::int32_t orientation) { Settings().orientation = orientation; }
    void SetPreviewTitle(const std::string& title) { Settings().previewTitle = title; }
    void SetJobName(const std::string& name) { Settings().jobName = name; }
    void SetShowPrintDialog(bool show) { Settings().showPrintDialog = show ? 1 : 0; }

    static int ColourCodeFromName(std::string_view name);

    // Starts the data file: a temporary file beside it takes the lines
    // written; the data file itself stays as it was until CloseDataFile.
    // False when the folder cannot take the file, or when the data file is
    // one of `inputs` (DataFileIsInput() then tells).
    bool OpenDataFile(const fileio::JobInputs* inputs = nullptr);
    bool DataFileIsInput() const { return dataFileIsInput_; }
    // Writes "T" x ";" y ";" text ";" font ";" size ";" style ";" colour ";"
    // background ";" and an empty line.  Texts are written as given.
    void WriteItem(std::int32_t x, std::int32_t y, std::string_view text, std::string_view fontName, std::int32_t size,
                   std::string_view style, std::string_view colourName, std::string_view background);
    void EndPage();
    // Puts the written lines (CP932, CR LF) in place of the data file.
    // False when writing failed; the data file is then left as it was and
    // the temporary file is gone.
    bool CloseDataFile();

    // Characters the code page could not hold, written as "?": how many,
    // and which (each once, UTF-8).
    std::size_t UnmappableCount() const { return unmappable_; }
    const std::string& UnmappableCharacters() const { return lacking_; }

    // Handing the files to the engine (linked from the print engine library).
    bool Print();
    void Preview();

private:
    void flush();

    std::unique_ptr<fileio::SafeSaveFile> file_; // while the data file is open
    std::string pending_;                        // CP932 bytes not yet handed to it
    bool failed_ = false;
    bool dataFileIsInput_ = false;
    std::size_t unmappable_ = 0;
    std::string lacking_;
};

} // namespace kovra
