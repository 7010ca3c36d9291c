// TPrintTool's hand-over to the print engine library, by its exports.
#include "PrintTool.h"

#include "Cp932Codec.h"
#include "Dorvex32.h"

namespace kovra {

bool TPrintTool::Print()
{
    const PrintToolSettings& s = Settings();
    const std::string format = cp932::fromUtf8(s.formatFileName);
    const std::string data = cp932::fromUtf8(s.dataFileName);
    const std::string message = cp932::fromUtf8(s.printingMessage);
    return ScalPrint(format.c_str(), data.c_str(), message.c_str(), s.paperCode, s.orientation, s.topMargin,
                     s.leftMargin, s.printForm, s.showPrintDialog) != 0;
}

void TPrintTool::Preview()
{
    const PrintToolSettings& s = Settings();
    const std::string title = cp932::fromUtf8(s.previewTitle);
    const std::string format = cp932::fromUtf8(s.formatFileName);
    const std::string data = cp932::fromUtf8(s.dataFileName);
    // Window -1, -1, 0, 0: the preview keeps its own place and size.
    PrintImageDisp(title.c_str(), format.c_str(), data.c_str(), s.paperCode, s.orientation, s.topMargin,
                   s.leftMargin, -1, -1, 0, 0, s.printForm, s.showPrintDialog);
}

} // namespace kovra
