// The process's printer against the application object: each test makes and
// ends its own QApplication.
#include <gtest/gtest.h>

#include "lumprn.h"

#include <QApplication>
#include <QPrinter>

// Guards the printer being destroyed only at static destruction, after the
// application object and with it Qt's print support are gone.
TEST(PrinterLifetime, ReleasedWithTheApplicationAndMadeAgainAfter)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        {
            int argc = 1;
            char name[] = "printengine_lifetime_tests";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            EXPECT_FALSE(dorvex::ThePrinterExists());
            dorvex::ThePrinter().setPageOrientation(QPageLayout::Landscape);
            EXPECT_TRUE(dorvex::ThePrinterExists());
        }
        EXPECT_FALSE(dorvex::ThePrinterExists());
    }
}
