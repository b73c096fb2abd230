#pragma once
#include "state/app_state.hpp"
#include "state/control_model.hpp"

#include <string>

// The brannoc-render command line that draws more tiles like the window's:
// "brannoc-render --kind KIND --iso-width W" and then, under the renderer's
// own option names, every check box and combo box that steers that kind
// where it differs from its default, and the texture picks its ticked
// locks hold. The kind is the showing tab's (on the About tab, the kind of
// the tile shown). Values are quoted for a POSIX shell, so --count 100
// --out DIR can be added and the line run as it is.
// (The state is only read; looking up the grass colour's cell borrows it.)
std::string render_command(AppState& state, const ControlModel& controls);

// A word as a POSIX shell reads it back: plain when it is safe, else in
// single quotes.
std::string shell_word(const std::string& word);
