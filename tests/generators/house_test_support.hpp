#pragma once
#include "state/texture_cells.hpp"
#include "state/tile_setup.hpp"
#include "generator_test_support.hpp"
#include "generators/house/house_extras.hpp"
#include "generators/house/openings.hpp"
#include "generators/house/roof.hpp"
#include "generators/house/wall_faces.hpp"

#include <map>

namespace house_test {

// A house rig at a fixed width and shape with the sheets replaced by flat,
// known colours: every wall, door and window texel is `wall`, every roof
// texel `roof`, so each painted pixel says what painted it.
struct HouseRig : TileRig {
    explicit HouseRig(std::uint64_t seed = 1, int width_item = 6, int shape = shape_4x4) : TileRig(seed) {
        controls().write(ctl::iso_width, width_item);
        controls().write(ctl::house_shape, shape);
        TileContext ctx = app->context();
        set_tile_geometry(ctx);
        state().ruins_mode = false;
        state().wall_texture = 0;
        state().door_texture = 0;
        state().windows_texture = 0;
        fill_sheets(rgb(120, 80, 40), rgb(40, 60, 150));
        state().canvas = RasterImage(260, 260);
    }
    void fill_sheets(Colour wall, Colour roof) {
        RasterImage building(776, 774);
        for (int y = 0; y < 774; ++y)
            for (int x = 0; x < 776; ++x) building.set_pixel(x, y, y < 512 ? wall : roof);
        state().building_sheet.image = building;
        RasterImage ground(640, 512);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 640; ++x) ground.set_pixel(x, y, wall);
        state().ground_sheet.image = ground;
    }
    TileContext context() { return app->context(); }
};

// The lowest and highest painted row of each canvas column.
struct ColumnSpan {
    int top = 1000;
    int bottom = -1;
};
inline std::map<int, ColumnSpan> column_spans(const RasterImage& image) {
    std::map<int, ColumnSpan> spans;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0) {
                spans[x].top = std::min(spans[x].top, y);
                spans[x].bottom = std::max(spans[x].bottom, y);
            }
    return spans;
}
}  // namespace house_test
