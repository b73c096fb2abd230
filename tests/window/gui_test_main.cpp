#include "app/window/startup.hpp"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// The window tests run headless: one QApplication on the offscreen platform.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    apply_application_font(application);
    return RUN_ALL_TESTS();
}
