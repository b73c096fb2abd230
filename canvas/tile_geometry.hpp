#pragma once
#include <cstdint>

// The fixed canvas and everything that follows from the iso width and the
// house shape. All values are small signed integers.
struct TileGeometry {
    static constexpr std::int16_t canvas_width = 260;
    static constexpr std::int16_t centre_x = 130;
    static constexpr std::int16_t ground_y = 180;
    static constexpr std::int16_t canvas_height = 2 * centre_x;

    std::int16_t iso_width = 100;
    std::int16_t half_width = 0;
    std::int16_t house_size = 0;
    std::int16_t house_unit = 0;
    std::int16_t tile_left_x = 0;
    std::int16_t tile_right_x = 0;
    std::int16_t tile_top_y = 0;
    std::int16_t tile_bottom_y = 0;

    std::int16_t house_left_reach = 0;
    std::int16_t house_right_reach = 0;
    std::int16_t house_left_drop = 0;
    std::int16_t house_right_drop = 0;
    std::int16_t house_left_x = 0;
    std::int16_t house_left_y = 0;
    std::int16_t house_front_x = 0;
    std::int16_t house_front_y = 0;
    std::int16_t house_right_x = 0;
    std::int16_t house_right_y = 0;
    std::int16_t house_back_x = 0;
    std::int16_t house_back_y = 0;
};

// House shapes, the items of the "House shape:" combo box.
enum HouseShape : int { shape_4x4 = 0, shape_4x3 = 1, shape_3x4 = 2, shape_3x3 = 3 };

// The item k of the "Iso width:" combo box is the width 40 + 10k.
constexpr int iso_width_for_item(int item) { return 40 + 10 * item; }

// nearest_to_int(iso_width * 0.8f): exactly iso_width * 4 / 5.
int house_size_for_width(int iso_width);

// Width in pixels of a wall face: kinds 1 and 3 are left faces, 2 and 4 right.
int wall_face_width(const TileGeometry& geometry, int shape_item, int face_kind);

// Recomputes every derived value from the width item and the shape item.
void compute_tile_geometry(TileGeometry& geometry, int width_item, int shape_item);
// The same for any iso width, not only the combo box's steps of ten.
void compute_tile_geometry_at_width(TileGeometry& geometry, int iso_width, int shape_item);
