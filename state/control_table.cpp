#include "state/control_table.hpp"

#include "state/control_ids.hpp"

#include <cstdio>

namespace {

using K = ControlKind;

std::vector<std::string> numbered_items(int count, int first, int step, const char* suffix) {
    std::vector<std::string> items;
    for (int k = 0; k < count; ++k) items.push_back(std::to_string(first + step * k) + suffix);
    return items;
}

std::vector<std::string> tree_width_items() {
    std::vector<std::string> items;
    for (int k = 0; k < 8; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f x", (k + 1) / 2.0);
        items.emplace_back(text);
    }
    return items;
}

std::vector<std::string> boulder_quantity_items() {
    std::vector<std::string> items{"Random"};
    for (int k = 1; k <= 10; ++k) items.push_back(std::to_string(k));
    return items;
}

std::vector<ControlSpec> build_table() {
    const auto heights = numbered_items(9, 10, 10, "");
    constexpr int main = -1;
    constexpr int house = tab_house, tree = tab_tree, terrain = tab_terrain, mountain = tab_mountain, water = tab_water,
                  about = tab_about;
    using namespace ctl;
    return {
        // Main area
        {draw_random_button, K::Button, "Draw &Random", main, 5, 275, 80, 20},
        {copy_image_button, K::Button, "Copy image", main, 5, 300, 80, 20},
        {save_image_button, K::Button, "Save image", main, 5, 325, 80, 20},
        {tiles_creation_button, K::Button, "Tiles creation", main, 5, 350, 80, 20},
        {tile_image, K::Image, "", main, 10, 10, 140, 270},
        {exit_button, K::Button, "Exit", main, 5, 415, 80, 20},
        {iso_width_label, K::TextLabel, "Iso width:", main, 150, 285, 50, 20},
        {iso_width, K::ComboBox, "", main, 210, 280, 50, 280, numbered_items(17, 40, 10, ""), 6},
        {lock_size, K::CheckBox, "Lock size", main, 150, 305, 100, 20, {}, 1},
        {draw_tile_area, K::CheckBox, "Draw tile area", main, 150, 330, 120, 20},
        {draw_only_tile_area, K::CheckBox, "Draw ONLY tile area", main, 150, 355, 120, 20},
        {progress_bar, K::ProgressBar, "", main, 120, 440, 160, 20},
        {panel, K::Panel, "", main, 290, 10, 360, 450, {"House", "Tree", "Terrain", "Mountain", "Water", "About"}, 0},

        // House tab
        {unnumbered, K::TextLabel, "House shape:", house, 10, 10, 100, 20},
        {house_shape, K::ComboBox, "", house, 110, 10, 100, 160, {"4 x 4", "4 x 3", "3 x 4", "3 x 3"}, 1},
        {lock_shape, K::CheckBox, "Lock shape", house, 230, 10, 100, 20},
        {height_label, K::TextLabel, "Heigth from/to:", house, 10, 40, 100, 20},
        {lowest_height, K::ComboBox, "", house, 110, 40, 50, 280, heights, 5},
        {highest_height, K::ComboBox, "", house, 170, 40, 50, 280, heights, 7},
        {lock_height, K::CheckBox, "Lock heigth", house, 230, 40, 100, 20, {}, 1},
        {roof_shape_label, K::TextLabel, "Roof shape:", house, 10, 70, 100, 20},
        {roof_shape, K::ComboBox, "", house, 110, 70, 100, 90, {"Left side", "Right side"}, 1},
        {lock_roof, K::CheckBox, "Lock roof", house, 230, 70, 100, 20},
        {wall_texture_button, K::Button, "Wall texture", house, 110, 100, 100, 25},
        {lock_wall_texture, K::CheckBox, "Lock wall texture", house, 230, 100, 120, 20},
        {roof_texture_button, K::Button, "Roof texture", house, 110, 130, 100, 25},
        {lock_roof_texture, K::CheckBox, "Lock roof texture", house, 230, 130, 120, 20},
        {door_texture_button, K::Button, "Door texture", house, 110, 160, 100, 25},
        {lock_door_texture, K::CheckBox, "Lock door texture", house, 230, 160, 120, 20},
        {windows_texture_button, K::Button, "Windows texture", house, 110, 190, 100, 25},
        {lock_windows_texture, K::CheckBox, "Lock windows texture", house, 230, 190, 120, 20},
        {draw_ruins, K::CheckBox, "Draw ruins", house, 230, 225, 120, 20},
        {add_elements_label, K::TextLabel, "Add elements:", house, 10, 270, 100, 20},
        {random_element, K::CheckBox, "Random element", house, 10, 295, 120, 20},
        {add_left_fence, K::CheckBox, "Add left fence", house, 30, 320, 120, 20},
        {add_right_fence, K::CheckBox, "Add right fence", house, 30, 345, 120, 20},
        {add_flowers, K::CheckBox, "Add flowers", house, 30, 370, 120, 20},
        {add_ground, K::CheckBox, "Add ground (as defined in terrain panel)", house, 10, 395, 220, 20},

        // Tree tab
        {leaves_label, K::TextLabel, "% leaves:", tree, 10, 15, 100, 20},
        {leaves_percent, K::ComboBox, "", tree, 110, 10, 100, 180, numbered_items(11, 0, 10, " %"), 4},
        {tree_width_label, K::TextLabel, "Tree width:", tree, 10, 45, 100, 20},
        {tree_width, K::ComboBox, "", tree, 110, 40, 100, 180, tree_width_items(), 1, true},
        {multi_tree, K::CheckBox, "Multi tree", tree, 10, 75, 120, 20},
        {tree_shadow, K::CheckBox, "Tree shadow", tree, 10, 100, 120, 20, {}, 0, true},
        {conifer, K::CheckBox, "Conifer", tree, 10, 125, 120, 20},
        {tree_add_flowers, K::CheckBox, "Add flowers", tree, 10, 170, 120, 20, {}, 0, true},
        {tree_add_fruits, K::CheckBox, "Add fruits", tree, 10, 190, 120, 20, {}, 0, true},

        // Terrain tab
        {grass, K::CheckBox, "Grass", terrain, 10, 10, 120, 20},
        {make_crops, K::CheckBox, "Make crops", terrain, 30, 30, 120, 20},
        {boulder, K::CheckBox, "Boulder", terrain, 10, 50, 120, 20},
        {bush, K::CheckBox, "Bush", terrain, 10, 70, 120, 20},
        {terrain_tree, K::CheckBox, "Tree (as defined in tree panel)", terrain, 10, 90, 160, 20},
        {pool, K::CheckBox, "Pool", terrain, 10, 110, 160, 20},
        {swamp, K::CheckBox, "Swamp", terrain, 10, 130, 160, 20},
        {grass_height_label, K::TextLabel, "Grass height:", terrain, 10, 205, 100, 20},
        {grass_height, K::ComboBox, "", terrain, 110, 200, 100, 270, numbered_items(17, 0, 1, ""), 5},
        {lock_grass_height, K::CheckBox, "Lock height", terrain, 230, 200, 100, 20},
        {grass_density_label, K::TextLabel, "Grass density:", terrain, 10, 235, 100, 20},
        {grass_density, K::ComboBox, "", terrain, 110, 230, 100, 250, numbered_items(15, 0, 5, "%"), 3},
        {lock_density, K::CheckBox, "Lock density", terrain, 230, 230, 100, 20, {}, 1},
        {terrain_ground_texture_button, K::Button, "Ground texture", terrain, 110, 260, 100, 25},
        {terrain_lock_ground_texture, K::CheckBox, "Lock ground texture", terrain, 230, 260, 120, 20},
        {grass_colour_button, K::Button, "Grass colour", terrain, 110, 290, 100, 25},
        {lock_colour_texture, K::CheckBox, "Lock colour texture", terrain, 230, 290, 120, 20},
        {boulder_quantity_label, K::TextLabel, "Boulder quantiy:", terrain, 10, 295, 100, 20},
        {boulder_quantity, K::ComboBox, "", terrain, 110, 320, 100, 250, boulder_quantity_items(), 0},
        {lock_quantity, K::CheckBox, "Lock quantity", terrain, 230, 320, 100, 20},
        {terrain_water_texture_button, K::Button, "Water texture", terrain, 110, 350, 100, 25},
        {lock_terrain_water_texture, K::CheckBox, "Lock water texture", terrain, 230, 350, 120, 20},

        // Mountain tab
        {reduce_to_hill, K::CheckBox, "Reduce to hill", mountain, 10, 10, 120, 20},
        {snow_covered_top, K::CheckBox, "Snow covered top", mountain, 10, 30, 120, 20},
        {all_snow, K::CheckBox, "All snow", mountain, 10, 50, 120, 20},
        {lock_current_shape, K::CheckBox, "Lock current shape", mountain, 10, 70, 120, 20},
        {add_black_border, K::CheckBox, "Add black border", mountain, 10, 90, 120, 20},
        {no_terrain, K::CheckBox, "No terrain", mountain, 10, 110, 120, 20},
        {mountain_ground_texture_button, K::Button, "Ground texture", mountain, 110, 150, 100, 25},
        {mountain_lock_ground_texture, K::CheckBox, "Lock ground texture", mountain, 215, 150, 120, 20},
        {mountain_texture_button, K::Button, "Mountain texture", mountain, 110, 180, 100, 25},
        {lock_mountain_texture, K::CheckBox, "Lock mountain texture", mountain, 215, 180, 120, 20},

        // Water tab
        {water_texture_1_button, K::Button, "Water texture 1", water, 110, 10, 100, 25},
        {lock_water_texture_1, K::CheckBox, "Lock water texture 1", water, 230, 10, 120, 20},
        {water_texture_2_button, K::Button, "Water texture 2", water, 110, 40, 100, 25},
        {lock_water_texture_2, K::CheckBox, "Lock water texture 2", water, 230, 40, 120, 20},

        // About tab
        {ctl::about_image, K::Image, "", about, 105, 20, 140, 133},
    };
}

}  // namespace

const std::vector<ControlSpec>& control_table() {
    static const std::vector<ControlSpec> table = build_table();
    return table;
}

const ControlSpec* find_control(int number) {
    if (number == ctl::unnumbered) return nullptr;
    for (const ControlSpec& spec : control_table())
        if (spec.number == number) return &spec;
    return nullptr;
}
