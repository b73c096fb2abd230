#pragma once
#include "state/app_state.hpp"
#include "state/control_model.hpp"
#include "canvas/random_source.hpp"

// The wall height from the "Heigth from/to:" combos: from + a draw below
// to - from, or exactly from when to is not above it.
int pick_house_height(const ControlModel& controls, RandomSource& random);

// A texture from the user's chosen walls or roofs. With an empty list (the
// lock ticked before anything was chosen) the draw is over all
// texture_count textures, as if the lock were off.
int pick_chosen_wall(const AppState& state, RandomSource& random, int texture_count);
int pick_chosen_roof(const AppState& state, RandomSource& random, int texture_count);
