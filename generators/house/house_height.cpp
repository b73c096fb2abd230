#include "generators/house/house_height.hpp"

#include "state/control_ids.hpp"

namespace {
int height_of_item(int item) { return 10 * item + 10; }

int pick_chosen(const std::array<std::int8_t, chosen_list_size>& list, int count, RandomSource& random,
                int texture_count) {
    if (count <= 0) return random_below(random, texture_count);
    return list[random_below(random, count)];
}
}  // namespace

int pick_house_height(const ControlModel& controls, RandomSource& random) {
    const int from = height_of_item(controls.read(ctl::lowest_height));
    const int to = height_of_item(controls.read(ctl::highest_height));
    return to > from ? from + random_below(random, to - from) : from;
}

int pick_chosen_wall(const AppState& state, RandomSource& random, int texture_count) {
    return pick_chosen(state.chosen_walls, state.chosen_wall_count, random, texture_count);
}

int pick_chosen_roof(const AppState& state, RandomSource& random, int texture_count) {
    return pick_chosen(state.chosen_roofs, state.chosen_roof_count, random, texture_count);
}
