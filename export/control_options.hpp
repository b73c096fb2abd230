#pragma once
#include "export/problem.hpp"
#include "export/tile/tile_request.hpp"
#include "state/control_table.hpp"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

// The command-line options that steer the generators, derived from the
// control table so that a new control gets its option without anyone
// remembering to add it:
// - every check box and combo box of a kind's tab (and of the main area)
//   becomes --name, from its label or, for a combo, the label before it;
// - every texture button becomes --name taking the texture's number (a list
//   for walls and roofs), which, like a pick in its chooser, also ticks the
//   lock box beside it.
// A name that would stand on two tabs is prefixed with the tab's name.
enum class OptionKind { flag, choice, texture, texture_list };

struct ControlOption {
    std::string name;  // without the leading dashes
    OptionKind kind;
    int control;              // the check box, combo box or button
    int tab;                  // -1: main area
    std::string description;  // for --help
    const ControlSpec* spec;
    int texture_count = 0;  // a texture button's: its numbers run 0 .. count - 1
};

const std::vector<ControlOption>& control_options();
const ControlOption* find_control_option(const std::string& name);

// Reads a control option's value, given as text, into the settings: a
// control state, or a pick as the chooser makes it. The problem as a whole
// line otherwise.
Problem read_control_value(TileChoice& settings, const ControlOption& option, const std::string& value);
// A control's state and a button's picks as a settings file writes them.
nlohmann::json control_value(const ControlOption& option, int state);
nlohmann::json texture_value(const ControlOption& option, const std::vector<int>& picks);

// The item of a combo that a value names: its text as shown ("4 x 4",
// "15%", "Random"), or its text without a trailing "%" or " x" ("15",
// "1.5"). -1 when none does.
int combo_item_for(const ControlSpec& spec, const std::string& value);
