#include "generators/house/house_extras.hpp"

#include "state/control_ids.hpp"
#include "canvas/numbers.hpp"
#include "generators/house/wall_faces.hpp"

namespace {
constexpr Colour stem_green = rgb(0, 200, 0);

struct FenceStyle {
    int rails;
    Colour colour;
    int density;
};

// 10 to 39 flowers on the tile's two front edges, shifted a little inwards.
void draw_flowers(TileContext& context, DrawingContext& dc) {
    const TileGeometry& g = context.state.geometry;
    const AppState& state = context.state;
    RandomSource& random = context.random;
    const int h = g.half_width;
    const int count = random_below(random, 30) + 10;
    for (int n = 0; n < count; ++n) {
        const int edge = random_below(random, 2);
        const int d = random_below(random, h);
        const int x =
            edge == 0 ? g.tile_left_x + d + random_below(random, h / 4) : g.centre_x + d - random_below(random, h / 4);
        const int y = edge == 0 ? g.ground_y + d / 2 : g.tile_bottom_y - d / 2;
        const int u = h / 6;
        const int stem = -u + random_below(random, u / 2);  // negative: upwards
        const int leaf = u / 4;
        const int rise = u / 3;
        const int radius = trunc_to_int(h / 60.0) + 1;
        const Colour bloom = state.flower_colours[random_below(random, state.flower_colour_count)];
        dc.set_surface(standing_plane({0.0, -0.3, 1.0}, 0.0f, static_cast<float>(y), 0.0f));
        dc.line(x, y, -leaf, stem + rise, stem_green);
        dc.line(x, y, 0, stem, stem_green);
        dc.line(x, y, leaf, stem + rise, stem_green);
        dc.set_surface(dome(static_cast<float>(x), static_cast<float>(y + stem), radius + 0.5f, radius + 0.5f,
                            static_cast<float>(y)));
        dc.circle(x, y + stem, radius, bloom);
    }
}

// Rails at heights fh, fh - (fh div rails) - 1, ... down to 0.
template <typename Rail>
void draw_rails(int fence_height, int rails, Rail&& rail) {
    for (int v = fence_height; v >= 0; v -= fence_height / rails + 1) rail(v);
}

void draw_left_fence(const TileGeometry& g, DrawingContext& dc, const FenceStyle& style) {
    const int fence_height = g.house_size / 6;
    const int gap = g.half_width / style.density;
    // The fence stands along the tile's edge facing out, as the wall above it does.
    dc.set_surface(standing_plane(wall_facing(left_front_face), g.tile_left_x, g.ground_y, 0.5f));
    for (int x = g.tile_left_x; x <= g.centre_x; x += gap + 1)
        dc.line(x, g.ground_y + (x - g.tile_left_x) / 2, 0, -fence_height, style.colour);
    dc.line(g.centre_x, g.ground_y + g.half_width / 2, 0, -fence_height, style.colour);
    draw_rails(fence_height, style.rails, [&](int v) {
        dc.line_xy(g.tile_left_x, g.ground_y - v, g.centre_x, g.tile_bottom_y - v, style.colour);
    });
}

void draw_right_fence(const TileGeometry& g, DrawingContext& dc, const FenceStyle& style) {
    const int fence_height = g.house_size / 6;
    const int gap = g.half_width / style.density;
    dc.set_surface(standing_plane(wall_facing(right_front_face), g.centre_x, g.tile_bottom_y, -0.5f));
    for (int x = g.centre_x; x <= g.tile_right_x; x += gap + 1)
        dc.line(x, g.tile_bottom_y - (x - g.centre_x) / 2, 0, -fence_height, style.colour);
    dc.line(g.tile_right_x, g.tile_bottom_y - g.half_width / 2, 0, -fence_height, style.colour);
    draw_rails(fence_height, style.rails, [&](int v) {
        dc.line_xy(g.centre_x, g.tile_bottom_y - v, g.tile_right_x, g.ground_y - v, style.colour);
    });
}
}  // namespace

void draw_house_extras(TileContext& context) {
    RandomSource& random = context.random;
    // Drawn for every house, fence or not, so the rest of the tile's draws
    // do not depend on the fence boxes.
    FenceStyle style;
    style.rails = random_below(random, 3) + 1;
    style.colour = context.state.fence_colours[random_below(random, 5)];
    style.density = random_below(random, 8) + 4;

    const TileGeometry& g = context.state.geometry;
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    if (context.controls.checked(ctl::add_flowers)) draw_flowers(context, dc);
    if (context.controls.checked(ctl::add_left_fence)) draw_left_fence(g, dc, style);
    if (context.controls.checked(ctl::add_right_fence)) draw_right_fence(g, dc, style);
}
