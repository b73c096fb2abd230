#pragma once

// Every control of the main window has a small fixed number; commands and
// generators address controls by these numbers only.
namespace ctl {
// Main area
inline constexpr int tile_image = 1;
inline constexpr int exit_button = 2;
inline constexpr int draw_random_button = 4;
inline constexpr int copy_image_button = 71;
inline constexpr int save_image_button = 67;
inline constexpr int tiles_creation_button = 26;
inline constexpr int iso_width_label = 8;
inline constexpr int iso_width = 7;
inline constexpr int lock_size = 14;
inline constexpr int draw_tile_area = 34;
inline constexpr int draw_only_tile_area = 35;
inline constexpr int progress_bar = 46;
inline constexpr int panel = 37;

// House tab
inline constexpr int house_shape = 5;
inline constexpr int lock_shape = 15;
inline constexpr int height_label = 11;
inline constexpr int lowest_height = 10;
inline constexpr int highest_height = 9;
inline constexpr int lock_height = 16;
inline constexpr int roof_shape_label = 13;
inline constexpr int roof_shape = 12;
inline constexpr int lock_roof = 17;
inline constexpr int wall_texture_button = 21;
inline constexpr int lock_wall_texture = 18;
inline constexpr int roof_texture_button = 20;
inline constexpr int lock_roof_texture = 19;
inline constexpr int door_texture_button = 25;
inline constexpr int lock_door_texture = 23;
inline constexpr int windows_texture_button = 24;
inline constexpr int lock_windows_texture = 22;
inline constexpr int draw_ruins = 36;
inline constexpr int add_elements_label = 6;
inline constexpr int random_element = 31;
inline constexpr int add_left_fence = 30;
inline constexpr int add_right_fence = 29;
inline constexpr int add_flowers = 28;
inline constexpr int add_ground = 57;

// Tree tab
inline constexpr int leaves_label = 40;
inline constexpr int leaves_percent = 38;
inline constexpr int tree_width_label = 41;
inline constexpr int tree_width = 39;
inline constexpr int multi_tree = 47;
inline constexpr int tree_shadow = 93;
inline constexpr int conifer = 72;
inline constexpr int tree_add_flowers = 91;
inline constexpr int tree_add_fruits = 92;

// Terrain tab
inline constexpr int grass = 63;
inline constexpr int make_crops = 62;
inline constexpr int boulder = 64;
inline constexpr int bush = 65;
inline constexpr int terrain_tree = 66;
inline constexpr int pool = 68;
inline constexpr int swamp = 78;
inline constexpr int grass_height_label = 49;
inline constexpr int grass_height = 48;
inline constexpr int lock_grass_height = 53;
inline constexpr int grass_density_label = 52;
inline constexpr int grass_density = 50;
inline constexpr int lock_density = 54;
inline constexpr int terrain_ground_texture_button = 58;
inline constexpr int terrain_lock_ground_texture = 59;
inline constexpr int grass_colour_button = 60;
inline constexpr int lock_colour_texture = 61;
inline constexpr int boulder_quantity_label = 51;
inline constexpr int boulder_quantity = 55;
inline constexpr int lock_quantity = 56;
inline constexpr int terrain_water_texture_button = 70;
inline constexpr int lock_terrain_water_texture = 69;

// Mountain tab
inline constexpr int reduce_to_hill = 73;
inline constexpr int snow_covered_top = 79;
inline constexpr int all_snow = 80;
inline constexpr int lock_current_shape = 81;
inline constexpr int add_black_border = 86;
inline constexpr int no_terrain = 87;
inline constexpr int mountain_ground_texture_button = 75;
inline constexpr int mountain_lock_ground_texture = 74;
inline constexpr int mountain_texture_button = 77;
inline constexpr int lock_mountain_texture = 76;

// Water tab
inline constexpr int water_texture_1_button = 83;
inline constexpr int lock_water_texture_1 = 82;
inline constexpr int water_texture_2_button = 85;
inline constexpr int lock_water_texture_2 = 84;

// About tab
inline constexpr int about_image = 43;

// Labels that nothing addresses carry no number.
inline constexpr int unnumbered = -1;
}  // namespace ctl

// Panel tabs, in order.
enum PanelTab : int { tab_house = 0, tab_tree = 1, tab_terrain = 2, tab_mountain = 3, tab_water = 4, tab_about = 5 };

// Keyboard commands.
namespace key_command {
inline constexpr int draw_random = 10;  // R
inline constexpr int unbound = 11;      // D: registered, does nothing
inline constexpr int leave = 99;        // Esc
}  // namespace key_command
