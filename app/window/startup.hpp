#pragma once
class QApplication;

// True when a window system can plausibly be reached (a platform was named,
// or an X11 or Wayland display is set).
bool display_available();
// Prints the one-line reason to stderr and returns the exit code to use.
int report_no_display();
// Until the window system is up, turns Qt's fatal start-up errors into a
// one-line message and a non-zero exit instead of an abort.
void guard_window_system_start();
// A compact font in which every label fits the place the table gives it.
void apply_application_font(QApplication& application);
