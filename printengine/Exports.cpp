// The library's export table: the three C entry points of Dorvex32.h, whose
// CP932 arguments are copied into UTF-8 on entry, and the internal UTF-8
// entry of Dorvex32Utf8.h.  Each call of ScalPrint or PrintImageDisp is a
// job of its own.  Each one fails as its contract says, with a message, when
// anything inside throws.
#include "Dorvex32.h"
#include "Dorvex32Utf8.h"

#include "Cp932Codec.h"
#include "EditFile.h"
#include "Guarded.h"
#include "Imagedsp.h"
#include "LibraryStart.h"
#include "Messages.h"
#include "Printout.h"

#include <string>

namespace {

std::string Text(const char* cp932Text)
{
    return cp932Text ? cp932::toUtf8(cp932Text) : std::string();
}

// The UTF-8 form of a path argument; false (and said) when its bytes are not
// Shift-JIS, since a file name with replacement marks would only be "not
// found" later, which misleads.
bool Path(const char* cp932Path, std::string& utf8)
{
    utf8 = Text(cp932Path);
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos) // U+FFFD: bytes CP932 does not define
        return true;
    dorvex::Say(dorvex::Tone::Error, dorvex::msg::NotShiftJisPath(utf8));
    return false;
}

std::string Utf8(const char* text)
{
    return text ? std::string(text) : std::string();
}

int16_t DORVEX32_CALL ScalPrintNamedFromUtf8(const char* formatFile, const char* dataFile, const char* message,
                                             int32_t paperCode, int32_t orientation, int32_t topMargin,
                                             int32_t leftMargin, uint8_t printForm, uint8_t showDialog,
                                             const char* jobName)
{
    int16_t result = 0; // "nothing printed", also when the job failed inside
    dorvex::RunGuarded([&] {
        result = dorvex::ScalPrintUtf8(Utf8(formatFile), Utf8(dataFile), Utf8(message), paperCode, orientation,
                                       topMargin, leftMargin, printForm != 0, showDialog != 0, Utf8(jobName));
    });
    return result;
}

int16_t DORVEX32_CALL ScalPrintFromUtf8(const char* formatFile, const char* dataFile, const char* message,
                                        int32_t paperCode, int32_t orientation, int32_t topMargin,
                                        int32_t leftMargin, uint8_t printForm, uint8_t showDialog)
{
    return ScalPrintNamedFromUtf8(formatFile, dataFile, message, paperCode, orientation, topMargin, leftMargin,
                                  printForm, showDialog, nullptr);
}

void DORVEX32_CALL PrintImageDispFromUtf8(const char* caption, const char* formatFile, const char* dataFile,
                                          int32_t paperCode, int32_t orientation, int32_t topMargin,
                                          int32_t leftMargin, int32_t windowLeft, int32_t windowTop,
                                          int32_t windowRight, int32_t windowBottom, uint8_t printForm,
                                          uint8_t showDialog)
{
    dorvex::RunGuarded([&] {
        dorvex::PrintImageDispUtf8(Utf8(caption), Utf8(formatFile), Utf8(dataFile), paperCode, orientation,
                                   topMargin, leftMargin, windowLeft, windowTop, windowRight, windowBottom,
                                   printForm != 0, showDialog != 0);
    });
}

void DORVEX32_CALL StartEditFileFromUtf8(const char* path, const char* untitledName)
{
    dorvex::RunGuarded([&] { dorvex::StartEditFileUtf8(Utf8(path), Utf8(untitledName)); });
}

const DorvexUtf8Functions kUtf8Functions = {sizeof(DorvexUtf8Functions), ScalPrintFromUtf8, PrintImageDispFromUtf8,
                                            StartEditFileFromUtf8, ScalPrintNamedFromUtf8};

} // namespace

extern "C" {

DORVEX32_API int16_t DORVEX32_CALL ScalPrint(const char* formatFile, const char* dataFile, const char* message,
                                             int32_t paperCode, int32_t orientation, int32_t topMargin,
                                             int32_t leftMargin, uint8_t printForm, uint8_t showDialog)
{
    int16_t result = 0; // "nothing printed", also when the job failed inside
    dorvex::RunGuarded([&] {
        dorvex::EnsureLibraryStarted(); // messages as boxes from here on
        std::string format, data;
        if (Path(formatFile, format) && Path(dataFile, data))
            result = dorvex::ScalPrintUtf8(format, data, Text(message), paperCode, orientation, topMargin,
                                           leftMargin, printForm != 0, showDialog != 0);
    });
    return result;
}

DORVEX32_API void DORVEX32_CALL PrintImageDisp(const char* caption, const char* formatFile, const char* dataFile,
                                               int32_t paperCode, int32_t orientation, int32_t topMargin,
                                               int32_t leftMargin, int32_t windowLeft, int32_t windowTop,
                                               int32_t windowRight, int32_t windowBottom, uint8_t printForm,
                                               uint8_t showDialog)
{
    dorvex::RunGuarded([&] {
        dorvex::EnsureLibraryStarted();
        std::string format, data;
        if (Path(formatFile, format) && Path(dataFile, data))
            dorvex::PrintImageDispUtf8(Text(caption), format, data, paperCode, orientation, topMargin, leftMargin,
                                       windowLeft, windowTop, windowRight, windowBottom, printForm != 0,
                                       showDialog != 0);
    });
}

DORVEX32_API void DORVEX32_CALL StartEditFile(const char* path, const char* untitledName)
{
    dorvex::RunGuarded([&] {
        dorvex::EnsureLibraryStarted();
        std::string file, untitled;
        if (Path(path, file) && Path(untitledName, untitled))
            dorvex::StartEditFileUtf8(file, untitled);
    });
}

DORVEX32_API const DorvexUtf8Functions* DORVEX32_CALL DorvexUtf8Entry(void)
{
    return &kUtf8Functions;
}

} // extern "C"
