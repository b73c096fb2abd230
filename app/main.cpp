#include "commands/application.hpp"
#include "app/window/main_window.hpp"
#include "app/window/startup.hpp"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (!display_available()) return report_no_display();
    guard_window_system_start();
    QApplication qt(argc, argv);
    apply_application_font(qt);

    std::unique_ptr<AppState> state = create_app_state();
    if (!state) {
        std::fputs("brannoc: the built-in textures could not be decoded\n", stderr);
        return 1;
    }
    Application application(std::move(state));
    MainWindow window(application);
    window.show();
    return qt.exec();
}
