// TPrintTool's hand-over to the print engine library, through its internal
// UTF-8 entry: the paths go as they are, whatever characters they hold.
#include "PrintTool.h"

#include "Dorvex32Utf8.h"

namespace kovra {

bool TPrintTool::Print()
{
    const PrintToolSettings& s = Settings();
    return DorvexUtf8Entry()->ScalPrintNamed(s.formatFileName.c_str(), s.dataFileName.c_str(),
                                             s.printingMessage.c_str(), s.paperCode, s.orientation, s.topMargin,
                                             s.leftMargin, s.printForm, s.showPrintDialog, s.jobName.c_str()) != 0;
}

void TPrintTool::Preview()
{
    const PrintToolSettings& s = Settings();
    // Window -1, -1, 0, 0: the preview keeps its own place and size.
    DorvexUtf8Entry()->PrintImageDisp(s.previewTitle.c_str(), s.formatFileName.c_str(), s.dataFileName.c_str(),
                                      s.paperCode, s.orientation, s.topMargin, s.leftMargin, -1, -1, 0, 0,
                                      s.printForm, s.showPrintDialog);
}

} // namespace kovra
