// The viewer's side of the print engine: writes print data files (text
// items and page ends) and hands them with a format file to the engine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kovra {

// Settings shared by every TPrintTool and kept from one report to the next.
struct PrintToolSettings {
    std::string dataFileName = "pdbwork.tmp"; // UTF-8 paths
    std::string formatFileName;
    std::string previewTitle;
    std::string printingMessage = "只今、印刷中";
    std::int32_t paperCode = 0;
    std::int32_t orientation = 0;
    std::int32_t topMargin = 0;
    std::int32_t leftMargin = 0;
    std::uint8_t printForm = 1;
    std::uint8_t showPrintDialog = 1;
};

class TPrintTool {
public:
    static PrintToolSettings& Settings(); // the module-level settings
    static void ResetSettings();          // back to the defaults (tests)

    void SetDataFileName(const std::string& path) { Settings().dataFileName = path; }
    void SetFormatFileName(const std::string& path) { Settings().formatFileName = path; }
    void SetPaperCode(std::int32_t code) { Settings().paperCode = code; }
    void SetPreviewTitle(const std::string& title) { Settings().previewTitle = title; }
    void SetShowPrintDialog(bool show) { Settings().showPrintDialog = show ? 1 : 0; }

    static int ColourCodeFromName(std::string_view name);

    // Creates the data file, or empties it, and collects the lines written.
    // False when the file cannot be created.
    bool OpenDataFile();
    // Writes "T" x ";" y ";" text ";" font ";" size ";" style ";" colour ";"
    // background ";" and an empty line.  Texts are written as given.
    void WriteItem(std::int32_t x, std::int32_t y, std::string_view text, std::string_view fontName, std::int32_t size,
                   std::string_view style, std::string_view colourName, std::string_view background);
    void EndPage();
    // Writes the collected lines (CP932, CR LF) and closes the file.  False
    // when writing failed; the file then holds nothing half-written.
    bool CloseDataFile();

    // Characters the code page could not hold, written as "?".
    std::size_t UnmappableCount() const { return unmappable_; }

    // Handing the files to the engine (linked from the print engine library).
    bool Print();
    void Preview();

private:
    std::string pending_; // CP932 bytes of the open data file
    bool open_ = false;
    std::size_t unmappable_ = 0;
};

} // namespace kovra
