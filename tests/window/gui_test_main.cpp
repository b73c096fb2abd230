#include "app/window/startup.hpp"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// The window tests run headless: one QApplication on the offscreen platform.
// Qt's file dialog remembers folders in the user's configuration; the tests
// keep their own, so they neither change the user's nor depend on it.
int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path config =
        std::filesystem::temp_directory_path() / ("brannoc-gui-config-" + std::to_string(::getpid()));
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        QApplication application(argc, argv);
        apply_application_font(application);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return result;
}
