#include "choosers/chooser_kind.hpp"

#include "state/control_ids.hpp"

namespace {
using S = ChooserSheet;
// Indexed by ChooserKind.
const ChooserSpec specs[] = {
    {"Choose water texture", S::ground, 2, 5, 64, 320, 160, false},
    {"Choose grass colour", S::ground, 2, 5, 64, 320, 155, false},
    {"Choose windows texture", S::ground, 2, 5, 64, 320, 155, false},
    {"Choose mountain texture", S::ground, 4, 5, 64, 320, 283, false},
    // 750 pixels wide: the sixth column shows only its first 110 pixels.
    {"Choose wall texture", S::building, 4, 6, 128, 750, 550, true},
    {"Choose door texture", S::ground, 2, 5, 64, 320, 155, false},
    {"Choose ground texture", S::ground, 4, 5, 64, 320, 283, false},
    {"Choose roof texture", S::building, 2, 6, 128, 750, 290, true},
};

// Every texture button of the panel and the chooser it opens.
constexpr ChooserButton chooser_buttons[] = {
    {ctl::terrain_water_texture_button, ChooserKind::water, 0},
    {ctl::water_texture_1_button, ChooserKind::water, 1},
    {ctl::water_texture_2_button, ChooserKind::water, 2},
    {ctl::grass_colour_button, ChooserKind::grass_colour, 0},
    {ctl::windows_texture_button, ChooserKind::windows, 0},
    {ctl::mountain_texture_button, ChooserKind::mountain, 0},
    {ctl::wall_texture_button, ChooserKind::wall, 0},
    {ctl::door_texture_button, ChooserKind::door, 0},
    {ctl::terrain_ground_texture_button, ChooserKind::ground, 0},
    {ctl::mountain_ground_texture_button, ChooserKind::ground, 0},
    {ctl::roof_texture_button, ChooserKind::roof, 0},
};
}  // namespace

const ChooserButton* chooser_for_button(int button) {
    for (const ChooserButton& b : chooser_buttons)
        if (b.button == button) return &b;
    return nullptr;
}

const ChooserSpec& chooser_spec(ChooserKind kind) { return specs[static_cast<int>(kind)]; }

SheetPoint chooser_cell_origin(ChooserKind kind, int i) {
    switch (kind) {
        case ChooserKind::water: return water_cell_origin(i);
        case ChooserKind::grass_colour: return {ground_cell_size * i, 128};
        case ChooserKind::windows: return window_cell_origin(i);
        case ChooserKind::mountain: return mountain_cell_origin(i);
        case ChooserKind::wall: return building_cell_origin(i);
        case ChooserKind::door: return door_cell_origin(i);
        case ChooserKind::ground: return ground_cell_origin(i);
        case ChooserKind::roof: return building_cell_origin(24 + i);
    }
    return {};
}
