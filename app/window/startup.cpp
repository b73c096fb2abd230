#include "app/window/startup.hpp"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <cstdlib>

namespace {
bool window_system_up = false;

void startup_message_handler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg && !window_system_up) {
        std::fprintf(stderr, "brannoc: cannot open the main window: %s\n",
                     message.simplified().toLocal8Bit().constData());
        std::_Exit(1);
    }
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg) std::abort();
}

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}
}  // namespace

bool display_available() { return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY"); }

int report_no_display() {
    std::fputs("brannoc: cannot open the main window: no display (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
    return 1;
}

void guard_window_system_start() { qInstallMessageHandler(startup_message_handler); }

void apply_application_font(QApplication& application) {
    window_system_up = true;
    qInstallMessageHandler(nullptr);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    application.setFont(font);
}
