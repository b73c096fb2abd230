#pragma once
#include <string>
#include <vector>

enum class ControlKind { Button, CheckBox, ComboBox, TextLabel, Image, ProgressBar, Panel };

// One control of the main window. Places are relative to the window's client
// area for the main area (tab -1) and to the tab's client area otherwise.
struct ControlSpec {
    int number;  // ctl::unnumbered for labels nothing addresses
    ControlKind kind;
    std::string label;
    int tab;  // -1: main area; 0..5: panel tab
    int x, y, width, height;
    std::vector<std::string> items;  // combo boxes: the items; panel: tab titles
    int default_state = 0;           // check box 0/1, combo item, panel tab
    bool disabled = false;
};

// Every control in creation order: the main area first, then each tab's
// controls in order.
const std::vector<ControlSpec>& control_table();

// The control with this number, or nullptr.
const ControlSpec* find_control(int number);

inline constexpr int window_client_width = 660;
inline constexpr int window_client_height = 470;
inline constexpr const char* window_title = "Brannoc 1.4";
