#include "canvas/tile_geometry.hpp"

#include "canvas/numbers.hpp"

namespace {
constexpr float single_0_8 = 0.8f;
// The three-quarter factor of the reaches is the double just above 0.75.
constexpr double reach_three_quarters = 0.7500000000000001;
constexpr double front_factor = 0.35000000000000003;

bool left_is_short(int shape_item) { return shape_item == shape_3x4 || shape_item == shape_3x3; }
bool right_is_short(int shape_item) { return shape_item == shape_4x3 || shape_item == shape_3x3; }

std::int16_t s16(int v) { return static_cast<std::int16_t>(v); }
}  // namespace

int house_size_for_width(int iso_width) { return nearest_to_int(iso_width * static_cast<double>(single_0_8)); }

int wall_face_width(const TileGeometry& geometry, int shape_item, int face_kind) {
    const float a = static_cast<float>(geometry.house_size) * 1.25f;
    const float g = a / 2.0f;
    const bool left_face = face_kind == 1 || face_kind == 3;
    const bool short_face = left_face ? left_is_short(shape_item) : right_is_short(shape_item);
    return short_face ? nearest_to_int(static_cast<double>(g) * 0.75) : nearest_to_int(g);
}

void compute_tile_geometry(TileGeometry& g, int width_item, int shape_item) {
    compute_tile_geometry_at_width(g, iso_width_for_item(width_item), shape_item);
}

void compute_tile_geometry_at_width(TileGeometry& g, int iso_width, int shape_item) {
    g.iso_width = s16(iso_width);
    g.house_size = s16(house_size_for_width(g.iso_width));
    g.half_width = s16(g.iso_width / 2);

    const int h = g.house_size / 2;
    const int d = g.house_size / 10;
    const int short_reach = nearest_to_int(h * reach_three_quarters);
    g.house_left_reach = s16(left_is_short(shape_item) ? short_reach : h);
    g.house_right_reach = s16(right_is_short(shape_item) ? short_reach : h);
    g.house_left_drop = s16(left_is_short(shape_item) ? d : 0);
    g.house_right_drop = s16(right_is_short(shape_item) ? d : 0);

    g.tile_left_x = s16(g.centre_x - g.half_width);
    g.tile_right_x = s16(g.centre_x + g.half_width);
    g.tile_top_y = s16(g.ground_y - g.half_width / 2);
    g.tile_bottom_y = s16(g.ground_y + g.half_width / 2);

    g.house_front_x = g.centre_x;
    g.house_front_y = s16(nearest_to_int(g.half_width * front_factor + g.ground_y));
    g.house_left_x = s16(g.centre_x - g.house_left_reach);
    g.house_left_y = s16(g.ground_y + g.house_left_drop - d / 2);
    g.house_right_x = s16(g.centre_x + g.house_right_reach);
    g.house_right_y = s16(g.ground_y + g.house_right_drop - d / 2);

    const int w = wall_face_width(g, shape_item, 4);
    g.house_back_x = s16(nearest_to_int(w * 0.8 + g.house_left_x));
    g.house_back_y = s16(nearest_to_int(g.house_left_y - w * 0.8 / 2));
    g.house_unit = s16(g.house_size / 7);
}
