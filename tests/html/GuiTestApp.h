// One QApplication for the GUI tests (gtest_main owns main()).
#pragma once

#include <QApplication>

#include <gtest/gtest.h>

namespace kovra::test {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "html_gui_tests";
            static char* argv[] = {name, nullptr};
            app_ = new QApplication(argc, argv);
        }
    }
    void TearDown() override
    {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

} // namespace kovra::test
