#pragma once
#include "export/render_settings.hpp"
#include "state/control_table.hpp"

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
    std::string name;         // without the leading dashes
    OptionKind kind;
    int control;              // the check box, combo box or button
    int tab;                  // -1: main area
    std::string description;  // for --help
    const ControlSpec* spec;
};

const std::vector<ControlOption>& control_options();
const ControlOption* find_control_option(const std::string& name);

// The item of a combo that a value names: its text as shown ("4 x 4",
// "15%", "Random"), or its text without a trailing "%" or " x" ("15",
// "1.5"). -1 when none does.
int combo_item_for(const ControlSpec& spec, const std::string& value);

// "house", "tree", ... for tabs 0..4, "transition"; "" otherwise.
std::string tab_name(int tab);
int tab_for_kind(const std::string& kind);
