#include "app/window/startup.hpp"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <cstdlib>

namespace {
bool window_system_up = false;
QString first_complaint;

// Qt explains a failed start in several warnings and then a fatal message;
// the user gets one line with the first, most specific, reason.
void startup_message_handler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (window_system_up) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        if (type == QtFatalMsg) std::abort();
        return;
    }
    if (type != QtDebugMsg && type != QtInfoMsg && first_complaint.isEmpty()) first_complaint = message.simplified();
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "brannoc: cannot open the main window: %s\n", first_complaint.toLocal8Bit().constData());
        std::_Exit(1);
    }
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
    // The control places were laid out for a compact sans serif of about 10 pixels;
    // Liberation Sans has the metrics that fit them.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    application.setFont(font);
}
