// The library's export table: the three C entry points of Dorvex32.h.  The
// CP932 arguments are copied into UTF-8 on entry.
#include "Dorvex32.h"

#include "Cp932Codec.h"
#include "EditFile.h"
#include "Imagedsp.h"
#include "Printout.h"

#include <string>

namespace {

std::string Arg(const char* cp932Text)
{
    return cp932Text ? cp932::toUtf8(cp932Text) : std::string();
}

} // namespace

extern "C" {

DORVEX32_API int16_t DORVEX32_CALL ScalPrint(const char* formatFile, const char* dataFile, const char* message,
                                             int32_t paperCode, int32_t orientation, int32_t topMargin,
                                             int32_t leftMargin, uint8_t printForm, uint8_t showDialog)
{
    return dorvex::ScalPrintUtf8(Arg(formatFile), Arg(dataFile), Arg(message), paperCode, orientation, topMargin,
                                 leftMargin, printForm != 0, showDialog != 0);
}

DORVEX32_API void DORVEX32_CALL PrintImageDisp(const char* caption, const char* formatFile, const char* dataFile,
                                               int32_t paperCode, int32_t orientation, int32_t topMargin,
                                               int32_t leftMargin, int32_t windowLeft, int32_t windowTop,
                                               int32_t windowRight, int32_t windowBottom, uint8_t printForm,
                                               uint8_t showDialog)
{
    dorvex::PrintImageDispUtf8(Arg(caption), Arg(formatFile), Arg(dataFile), paperCode, orientation, topMargin,
                               leftMargin, windowLeft, windowTop, windowRight, windowBottom, printForm != 0,
                               showDialog != 0);
}

DORVEX32_API void DORVEX32_CALL StartEditFile(const char* path, const char* untitledName)
{
    dorvex::StartEditFileUtf8(Arg(path), Arg(untitledName));
}

} // extern "C"
