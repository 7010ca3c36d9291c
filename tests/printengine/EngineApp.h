// The application of a test program of the engine's windows: made before
// the first test (offscreen unless a platform is set), the library started
// in it, and its printers those of the CUPS server at `cupsServer` only
// (a socket that is not there: a machine without printers).
#pragma once

#include "LibraryStart.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace dorvex::test {

class EngineAppEnvironment : public ::testing::Environment {
public:
    explicit EngineAppEnvironment(std::string cupsServer) : cupsServer_(std::move(cupsServer)) {}
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        setenv("CUPS_SERVER", cupsServer_.c_str(), 1);
        unsetenv("LPDEST"); // the server's own default printer
        unsetenv("PRINTER");
        static int argc = 1;
        static char name[] = "printengine_gui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        EnsureLibraryStarted();
    }
    void TearDown() override { app_.reset(); }

private:
    std::string cupsServer_;
    std::unique_ptr<QApplication> app_;
};

} // namespace dorvex::test
