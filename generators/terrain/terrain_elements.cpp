#include "generators/terrain/terrain_elements.hpp"

#include "state/texture_cells.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "canvas/numbers.hpp"
#include "generators/common/water_flow.hpp"
#include "generators/common/water_motion.hpp"

#include <array>

namespace {
constexpr int boulder_sprites = 12;
constexpr int boulder_sprite_size = 64;

// A blade's or bush's own green: the colour's green shifted by -30..+29.
int shifted_green(TerrainCanvas& canvas, Colour colour) { return green(colour) + random_below(canvas.random, 60) - 30; }

// The pool reaches i = H or j = H on the smallest tiles, one sample past the
// cell; wrap it onto the cell's first column or row (the textures are
// seamless) instead of reading the neighbouring cell or off the sheet.
int wrapped_sample(int origin, int index, float step) {
    const int at = nearest_to_int(origin + index * static_cast<double>(step));
    return at - origin >= ground_cell_size ? at - ground_cell_size : at;
}
}  // namespace

void draw_grass_blade(TerrainCanvas& canvas, int i, int j, int height, Colour colour, bool crops) {
    const int r = red(colour);
    const int g = shifted_green(canvas, colour);
    const int b = blue(colour);
    const CanvasPoint at = diamond_pixel(canvas.half_width, i, j);
    const int lean = random_below(canvas.random, 3) - 1;
    // Mostly up, the light stroke turned a little right and the dark one left.
    const float foot = static_cast<float>(at.y);
    canvas.dc.set_surface(standing_plane({0.35 + 0.2 * lean, -0.25, 1.0}, 0.0f, foot, 0.0f));
    canvas.dc.set_painted_light(1.0f);
    canvas.dc.line(at.x, at.y, lean, -height, rgb_clamped(r, g, b));
    canvas.dc.set_surface(standing_plane({-0.35 + 0.2 * lean, -0.25, 1.0}, 0.0f, foot, 0.0f));
    canvas.dc.set_painted_light(0.5f);  // the blade's side turned from the light
    canvas.dc.line(at.x - 1, at.y, lean, -height, rgb_clamped(r / 2, g / 2, b / 2));
    canvas.dc.set_painted_light(1.0f);
    if (crops) {
        // The stroke leaves its end row Y - height empty; the ear sits above it.
        canvas.dc.plot(at.x, at.y - height - 1, crop_ear_colour);
        canvas.dc.plot(at.x, at.y - height - 2, crop_ear_colour);
    }
}

void draw_bush(TerrainCanvas& canvas, int i, int j, Colour colour) {
    const int r = red(colour);
    const int g = shifted_green(canvas, colour);
    const int b = blue(colour);
    const Colour light = rgb_clamped(r, g, b);
    const Colour dark = rgb_clamped(nearest_to_int(r * 0.5), nearest_to_int(g * 0.5), nearest_to_int(b * 0.5));
    const CanvasPoint at = diamond_pixel(canvas.half_width, i, j);
    const int strokes = random_below(canvas.random, 12) + 6;
    const int sixth = canvas.half_width / 6;
    const int radius = random_below(canvas.random, sixth) + sixth;
    // A dome over the fan's foot, the two strokes' common edge.
    canvas.dc.set_surface(dome(at.x + 1.0f, at.y + 1.0f, radius + 1.0f, radius + 1.0f, static_cast<float>(at.y)));
    for (int n = 0; n < strokes; ++n) {
        const int a = random_below(canvas.random, 135) + 45;
        const int ex = nearest_to_int(at.x + static_cast<double>(canvas.state.cos_table[a]) * radius);
        const int ey = nearest_to_int(at.y - static_cast<double>(canvas.state.sin_table[a]) * radius);
        canvas.dc.set_painted_light(1.0f);
        canvas.dc.line_xy(at.x, at.y, ex, ey, light);
        canvas.dc.set_painted_light(0.5f);
        canvas.dc.line_xy(at.x + 1, at.y, ex + 1, ey, dark);
    }
    canvas.dc.set_painted_light(1.0f);
}

void draw_boulder(TerrainCanvas& canvas, int i, int j) {
    RandomSource& random = canvas.random;
    const int half_width = canvas.half_width;
    const int sprite = random_below(random, boulder_sprites);
    const int sx = boulder_sprite_size * (sprite % 4);
    const int sy = boulder_sprite_size * (sprite / 4);
    const float ax =
        static_cast<float>((random_below(random, 85) / 100.0 + static_cast<double>(0.15f)) * half_width / 100);
    const float ay = static_cast<float>(ax * (random_below(random, 50) / 100.0 + 0.5));
    const float shade = static_cast<float>(random_below(random, 50) / 100.0 + 0.5);

    const int x0 = TileGeometry::centre_x + i - j;
    const int tile_top_y = TileGeometry::ground_y - half_width / 2;
    const int y0 = nearest_to_int(tile_top_y + i / 2 + j / 2 - 64 * static_cast<double>(ay) + 7);

    // The target row of each sprite row is the same for every column.
    std::array<int, boulder_sprite_size> target_y{};
    for (int v = 0; v < boulder_sprite_size; ++v) target_y[v] = nearest_to_int(v * static_cast<double>(ay) + y0);

    // Round from the sprite's centre and radii, standing on its bottom row.
    canvas.dc.set_surface(dome(x0 + 32.0f * ax, y0 + 32.0f * ay, 32.0f * ax, 32.0f * ay, y0 + 64.0f * ay));
    const RasterImage& sheet = canvas.state.boulder_sheet.image;
    if (!sheet.contains(sx, sy) || !sheet.contains(sx + boulder_sprite_size - 1, sy + boulder_sprite_size - 1)) return;
    for (int u = 0; u < boulder_sprite_size; ++u) {
        const int px = nearest_to_int(u * static_cast<double>(ax) + x0);
        for (int v = 0; v < boulder_sprite_size; ++v) {
            const std::uint8_t* t = sheet.row(sy + v) + 3 * (sx + u);
            if ((t[0] | t[1] | t[2]) == 0) continue;  // black is transparent
            const Colour texel = rgb(t[0], t[1], t[2]);
            const int noise = random_below(random, 40);
            // Noise on a bright texel can pass 255; hold it there rather than
            // let it spill into the next channel.
            canvas.dc.plot(px, target_y[v],
                           rgb_clamped(nearest_to_int(red(texel) * static_cast<double>(shade) + noise),
                                       nearest_to_int(green(texel) * static_cast<double>(shade) + noise),
                                       nearest_to_int(blue(texel) * static_cast<double>(shade) + noise)));
        }
    }
}

void draw_pool_texel(TerrainCanvas& canvas, int i, int j) {
    const SheetPoint cell = water_cell_origin(canvas.state.terrain_water_texture);
    const float step = 64.0f / static_cast<float>(canvas.half_width);
    const RasterImage& sheet = canvas.state.ground_sheet.image;
    const WaterPhase& phase = canvas.water_phase;
    Colour texel = 0;
    if (phase.still()) texel = sheet.colour_at(wrapped_sample(cell.x, i, step), wrapped_sample(cell.y, j, step));
    else if (phase.flows())  // a pool's water has no shade of its own: only its texels drift
        texel = shared_flow_frame(phase, canvas.half_width)->colour(sheet, i, j, [&](GridPoint) {
            return CarriedWater{cell.x, cell.y, 1.0f};
        });
    else texel = water_texel(sheet, cell.x, cell.y, i, j, step, phase);
    const CanvasPoint at = diamond_pixel(canvas.half_width, i, j);
    canvas.dc.reuse_surface(0);  // flat water
    canvas.dc.plot(at.x, at.y, texel);
    canvas.dc.plot(at.x + 1, at.y, texel);
}
