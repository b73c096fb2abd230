#include "app/window/tooltips.hpp"

#include "state/control_ids.hpp"

#include <QWidget>

namespace {
struct Tip {
    int control;
    const char* text;
};

const Tip tips[] = {
    // Texture buttons
    {ctl::wall_texture_button, "Pick the wall textures a house draws from (one or several)"},
    {ctl::roof_texture_button, "Pick the roof textures a house draws from (one or several)"},
    {ctl::door_texture_button, "Pick the door texture houses use"},
    {ctl::windows_texture_button, "Pick the windows texture houses use"},
    {ctl::terrain_ground_texture_button, "Pick the ground texture (shared with the Mountain tab)"},
    {ctl::grass_colour_button, "Pick the colour of the grass blades"},
    {ctl::terrain_water_texture_button, "Pick the water texture of pools and swamps"},
    {ctl::mountain_ground_texture_button, "Pick the ground texture (shared with the Terrain tab)"},
    {ctl::mountain_texture_button, "Pick the rock texture of the mountain"},
    {ctl::water_texture_1_button, "Pick the first of the two water textures mixed on a water tile"},
    {ctl::water_texture_2_button, "Pick the second of the two water textures mixed on a water tile"},
    // Lock boxes
    {ctl::lock_size, "Keep the iso width; unticked, each house gets a random width"},
    {ctl::lock_shape, "Keep the house shape; unticked, each house gets a random one"},
    {ctl::lock_height, "Keep the wall heights; unticked, each house gets random ones"},
    {ctl::lock_roof, "Keep the roof side; unticked, each house gets a random one"},
    {ctl::lock_wall_texture, "Draw walls from the picked textures; unticked, a random wall each time"},
    {ctl::lock_roof_texture, "Draw roofs from the picked textures; unticked, a random roof each time"},
    {ctl::lock_door_texture, "Keep the door texture; unticked, a random door each time"},
    {ctl::lock_windows_texture, "Keep the windows texture; unticked, random windows each time"},
    {ctl::lock_grass_height, "Keep the grass height; unticked, a random height each time"},
    {ctl::lock_density, "Keep the grass density; unticked, a random density each time"},
    {ctl::terrain_lock_ground_texture, "Keep the ground texture; unticked, a random ground each time"},
    {ctl::lock_colour_texture, "Keep the picked grass colour; unticked, the usual green"},
    {ctl::lock_quantity, "Has no effect: the quantity box alone sets the number of boulders"},
    {ctl::lock_terrain_water_texture, "Keep the water texture; unticked, a random water each time"},
    {ctl::lock_current_shape, "Draw the same mountain shape again instead of a new one"},
    {ctl::mountain_lock_ground_texture, "Keep the ground texture; unticked, a random ground each time"},
    {ctl::lock_mountain_texture, "Keep the rock texture; unticked, a random rock each time"},
    {ctl::lock_water_texture_1, "Keep the first water texture; unticked, a random one each time"},
    {ctl::lock_water_texture_2, "Keep the second water texture; unticked, a random one each time"},
    // Boxes whose labels say little
    {ctl::draw_only_tile_area, "Houses: draw only the outline of the tile area, no house"},
    {ctl::add_ground, "Draw a terrain made with the Terrain tab's settings under the house"},
    {ctl::random_element, "Give each house flowers and each fence 3 times in 10, ticking the boxes below"},
};
}  // namespace

void add_tooltips(const std::map<int, QWidget*>& controls) {
    for (const Tip& tip : tips)
        if (const auto it = controls.find(tip.control); it != controls.end())
            it->second->setToolTip(QString::fromUtf8(tip.text));
}
