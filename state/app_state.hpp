#pragma once
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"
#include "canvas/tile_canvas.hpp"
#include "canvas/tile_geometry.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A built-in texture sheet, read in place cell by cell.
struct TextureSheet {
    RasterImage image;
    int cell_size = 0;
    int cell_x(int column) const { return column * cell_size; }
    int cell_y(int row) const { return row * cell_size; }
};

inline constexpr int colour_table_size = 6;
inline constexpr int trig_table_size = 367;
inline constexpr int chosen_list_size = 31;
inline constexpr int grass_mask_side = 201;
inline constexpr int mountain_profile_size = 801;
inline constexpr int height_field_order_at_start = 7;
inline constexpr int height_field_side = (1 << height_field_order_at_start) + 21;  // 149

// The one record of application state, alive from start-up to shut-down.
struct AppState {
    // Tile geometry
    TileGeometry geometry;

    // Images
    RasterImage display_image{TileGeometry::canvas_width, TileGeometry::canvas_height};
    TileCanvas canvas{TileGeometry::canvas_width, TileGeometry::canvas_height};  // the work image
    RasterImage tile_set_image{1200, 1000};
    RasterImage about_image;
    TextureSheet boulder_sheet;
    TextureSheet ground_sheet;
    TextureSheet building_sheet;

    // Texture choices
    std::int32_t wall_texture = 0;
    std::int32_t roof_texture = 0;
    std::int32_t door_texture = 0;
    std::int32_t windows_texture = 0;
    std::int32_t ground_texture = 0;
    std::int32_t mountain_texture = 0;
    std::int32_t terrain_water_texture = 0;
    std::int32_t water_texture_1 = 0;
    std::int32_t water_texture_2 = 0;
    Colour grass_colour = 0;
    std::array<std::int8_t, chosen_list_size> chosen_walls{};
    std::int8_t chosen_wall_count = 0;
    std::array<std::int8_t, chosen_list_size> chosen_roofs{};
    std::int8_t chosen_roof_count = 0;
    std::array<std::int8_t, chosen_list_size> chooser_marks{};

    // The house being drawn: "Draw ruins" as it was at the tile's start, and
    // the wall height up to the eaves (10..90 pixels).
    bool ruins_mode = false;
    std::int16_t house_height = 0;

    // Fixed tables
    int flower_colour_count = 5;
    std::array<Colour, colour_table_size> flower_colours{};
    std::array<Colour, colour_table_size> trunk_colours{};
    std::array<Colour, colour_table_size> leaf_colours{};
    std::array<Colour, colour_table_size> fence_colours{};
    std::array<float, trig_table_size> sin_table{};
    std::array<float, trig_table_size> cos_table{};

    // Generators' working arrays, kept between draws
    std::array<std::int16_t, 9> point_x{};
    std::array<std::int16_t, 9> point_y{};
    std::vector<std::int8_t> grass_mask = std::vector<std::int8_t>(grass_mask_side * grass_mask_side, 0);
    std::vector<std::int16_t> mountain_profile = std::vector<std::int16_t>(mountain_profile_size, 0);
    int height_field_order = height_field_order_at_start;
    std::vector<float> height_field = std::vector<float>(height_field_side * height_field_side, 0.0f);
    std::array<std::int32_t, 5> mountain_values{};

    // Command state
    std::int8_t last_tab = 0;
    std::int16_t roof_side = 1;
    std::int32_t save_counter = 0;
    std::string file_name;
    // The tab whose generator last drew on the canvas (-1: nothing drawn yet).
    int last_drawn_tab = -1;
};

// Puts back everything a draw may change to its start-up value (texture
// choices, chosen lists, working arrays, command state), keeping the images,
// sheets and tables, so a batch can draw each tile from the same start.
void reset_drawing_state(AppState& state);

// Fills the colour and trigonometry tables with their fixed values.
void fill_fixed_tables(AppState& state);

// Creates the state with its tables filled and the built-in images decoded.
// Fails (returns nullptr) only if the built-in images are damaged.
std::unique_ptr<AppState> create_app_state();
