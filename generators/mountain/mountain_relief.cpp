#include "generators/mountain/mountain_relief.hpp"

#include "state/texture_cells.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "canvas/numbers.hpp"
#include "generators/common/shading.hpp"
#include "generators/mountain/height_field.hpp"

#include <algorithm>

namespace {
constexpr int grid_cells = height_field_last;  // 128 grid steps across the tile
constexpr float shaded_snow = 0.8f;
// Holes between segments are a few pixels; more is the rock's cut side.
constexpr std::size_t largest_gap = 6;

struct Segment {
    float x, y, x2, y2;
};

// Two segments side by side from this sample's point to the next row's.
void paint_segment_pair(DrawingContext& dc, const Segment& s, Colour colour) {
    dc.line_xy(nearest_to_int(s.x), nearest_to_int(s.y), nearest_to_int(s.x2), nearest_to_int(s.y2), colour);
    dc.line_xy(nearest_to_int(s.x + 1.0), nearest_to_int(s.y), nearest_to_int(s.x2 + 1.0), nearest_to_int(s.y2),
               colour);
}

// The relief's own surface under a sample: the field's slope there (u runs
// along the tile's i axis, w along its j axis, one grid step `spacing`
// pixels across) at the sample's height.
Surface relief_surface(const std::vector<float>& field, int u, int w, double spacing, int height) {
    // Two steps either way: the last level's displacements are single-step
    // noise, which would make the light flicker across every segment.
    const int u0 = std::max(u - 2, 0), u1 = std::min(u + 2, height_field_last);
    const int w0 = std::max(w - 2, 0), w1 = std::min(w + 2, height_field_last);
    const double step = spacing * ground_step_in_height;
    const double along_i =
        (height_field_at(field, u1, w) - height_field_at(field, u0, w)) / (std::max(u1 - u0, 1) * step);
    const double along_j =
        (height_field_at(field, u, w1) - height_field_at(field, u, w0)) / (std::max(w1 - w0, 1) * step);
    return plane_at_height(ground_axes(-along_i, -along_j, 1.0), static_cast<float>(height));
}
}  // namespace

void paint_mountain_underlay(TileContext& context, DrawingContext& dc) {
    const AppState& state = context.state;
    const int half_width = state.geometry.half_width;
    const float step = 64.0f / static_cast<float>(half_width);
    const SheetPoint rock = mountain_cell_origin(state.mountain_texture);
    if (dc.mapping_surfaces()) dc.set_surface(flat_ground());  // its own, to find where it shows
    for (int i = 0; i < half_width; ++i) {
        for (int j = 0; j < half_width; ++j) {
            const Colour texel = diamond_texel(state.ground_sheet.image, rock.x, rock.y, i, j, step);
            const Colour colour = scale_colour(texel, random_shade_factor(context.random));
            const CanvasPoint at = diamond_pixel(half_width, i, j);
            dc.plot(at.x, at.y, colour);
            dc.plot(at.x + 1, at.y, colour);
        }
    }
}

void paint_mountain_relief(TileContext& context, DrawingContext& dc, const ReliefSettings& settings) {
    AppState& state = context.state;
    const TileGeometry& g = state.geometry;
    const int across = g.tile_right_x - g.tile_left_x;  // W
    const int deep = g.tile_bottom_y - g.tile_top_y;    // T
    const float sx = static_cast<float>(across / static_cast<double>(grid_cells));
    const float sy = static_cast<float>(deep / static_cast<double>(grid_cells));
    const float kx = static_cast<float>(64.0 / across);
    const float ky = static_cast<float>(64.0 / deep);

    bool snow = settings.snow;
    int snow_level = nearest_to_int(settings.highest * 0.5);
    const int jitter = settings.peak_scale / 5;
    if (settings.all_snow) {
        snow_level = nearest_to_int(-static_cast<double>(settings.highest));
        snow = true;
    }
    const SheetPoint ground = ground_cell_origin(state.ground_texture);
    const SheetPoint rock = mountain_cell_origin(state.mountain_texture);
    const RasterImage& sheet = state.ground_sheet.image;
    std::vector<std::int16_t>& profile = state.mountain_profile;
    std::fill(profile.begin(), profile.end(), no_rock_in_column);
    const std::vector<float>& field = state.height_field;

    // The grid column and the texel columns of a canvas column are the same
    // on every row, and a row's grid row and texel rows the same in every column.
    std::vector<int> grid_u(across), rock_x(across), ground_x(across);
    for (int col = 0; col <= across - 2; ++col) {
        grid_u[col] = nearest_to_int(col / static_cast<double>(sx));
        rock_x[col] = nearest_to_int(rock.x + col * static_cast<double>(kx));
        ground_x[col] = nearest_to_int(ground.x + col * static_cast<double>(kx));
    }

    for (int row = 1; row <= deep - 1; ++row) {
        const int w = nearest_to_int(row / static_cast<double>(sy));
        const int rock_y = nearest_to_int(rock.y + row * static_cast<double>(ky));
        const int ground_y = nearest_to_int(ground.y + row * static_cast<double>(ky));
        for (int col = 0; col <= across - 2; ++col) {
            const int u = grid_u[col];
            const int h0 = std::max(nearest_to_int(height_field_at(field, u, w)), 0);
            const int h1 = std::max(nearest_to_int(height_field_at(field, u, w + 1)), 0);
            const int h2 = nearest_to_int(height_field_at(field, std::max(u - 2, 0), w));
            const Segment segment{
                static_cast<float>(g.centre_x - row + col / 2.0),
                static_cast<float>(g.tile_top_y + row / 2.0 + col / 4.0 - h0),
                static_cast<float>(g.centre_x - (row + 1) + col / 2.0),
                static_cast<float>(g.tile_top_y + (row + 1) / 2.0 + col / 4.0 - h1),
            };
            // Darker where the field two steps back along u is lower.
            float shade = h2 <= h0 - 1 ? 0.5f : 1.0f;
            if (dc.mapping_surfaces()) {
                if (h0 > 0)
                    dc.set_surface(relief_surface(field, u, w, g.half_width / static_cast<double>(grid_cells), h0));
                else dc.reuse_surface(0);
            }
            if (h0 > 0) {
                const int x = trunc_to_int(segment.x);
                if (x >= 0 && x < static_cast<int>(profile.size()) && profile[x] >= segment.y)
                    profile[x] = static_cast<std::int16_t>(nearest_to_int(segment.y - 2.0));
                const Colour texel = sheet.colour_at(rock_x[col], rock_y);
                Colour colour = shade < 1.0f ? scale_colour(texel, shade) : texel;
                if (snow && h0 > snow_level + random_below(context.random, jitter)) {
                    if (shade < 1.0f) shade = shaded_snow;
                    const int lit = nearest_to_int(shade * 255.0);
                    colour = rgb(lit, lit, 255);
                }
                dc.set_painted_light(shade);
                paint_segment_pair(dc, segment, colour);
            } else if (settings.flat_ground) {
                dc.set_painted_light(1.0f);
                paint_segment_pair(dc, segment, sheet.colour_at(ground_x[col], ground_y));
            }
        }
    }
}

namespace {
// The underlay's pixels joined to (x, y) through their sides; each is
// marked 0 on the way, so it is gathered once.
std::vector<std::pair<int, int>> gather_gap(SurfaceIds& surfaces, SurfaceId underlay, int x, int y) {
    std::vector<std::pair<int, int>> gap{{x, y}}, todo{{x, y}};
    surfaces.mark(x, y, 0);
    while (!todo.empty()) {
        const auto [px, py] = todo.back();
        todo.pop_back();
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            const int nx = px + dx, ny = py + dy;
            if (nx < 0 || ny < 0 || nx >= surfaces.width() || ny >= surfaces.height()) continue;
            if (surfaces.at(nx, ny) != underlay) continue;
            surfaces.mark(nx, ny, 0);
            gap.emplace_back(nx, ny), todo.emplace_back(nx, ny);
        }
    }
    return gap;
}
}  // namespace

void close_relief_gaps(SurfaceIds& surfaces, SurfaceId underlay, const TileGeometry& g) {
    const int ox = surfaces.origin_x(), oy = surfaces.origin_y();
    auto height_of = [&](SurfaceId id, int x, int y) { return height_at(surfaces.surface(id), x - ox, y - oy); };
    // The rock cut off by the tile's front edges: faces standing on them.
    SurfaceId left_face = 0, right_face = 0;
    for (int y = 0; y < surfaces.height(); ++y)
        for (int x = std::max(surfaces.first_marked(y), 0); x <= surfaces.last_marked(y); ++x) {
            if (surfaces.at(x, y) != underlay) continue;
            std::vector<std::pair<int, int>> gap = gather_gap(surfaces, underlay, x, y);
            if (gap.size() > largest_gap) {
                // Under a lifted front row the rock shows its side, standing on the
                // diamond's edge (its foot row half a pixel up, at the pixels' middle).
                for (const auto& [px, py] : gap) {
                    SurfaceId& face = px - ox < g.centre_x ? left_face : right_face;
                    if (face == 0)
                        face = surfaces.add(
                            px - ox < g.centre_x
                                ? standing_plane(ground_axes(0.0, 1.0, 0.0), g.tile_left_x, g.ground_y, 0.5f, 0.5f)
                                : standing_plane(ground_axes(1.0, 0.0, 0.0), g.centre_x, g.tile_bottom_y, -0.5f, 0.5f));
                    surfaces.mark(px, py, face);
                }
                continue;
            }
            // A hole between segments: the highest rock beside it, filling from its rim inwards.
            for (bool changed = true; changed;) {
                changed = false;
                for (auto& [px, py] : gap) {
                    if (px < 0 || surfaces.at(px, py) != 0) continue;
                    SurfaceId best = 0;
                    float highest = 0.0f;
                    for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                        const int nx = px + dx, ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= surfaces.width() || ny >= surfaces.height()) continue;
                        const SurfaceId id = surfaces.at(nx, ny);
                        if (id == 0) continue;
                        if (const float h = height_of(id, px, py); h > highest) highest = h, best = id;
                    }
                    if (best == 0) continue;
                    surfaces.mark(px, py, best);
                    px = -1;  // done
                    changed = true;
                }
            }
        }
}

void fill_relief_pinholes(SurfaceIds& surfaces) {
    const int ox = surfaces.origin_x(), oy = surfaces.origin_y();
    // Found first, filled after: a filled pixel must not close its neighbour in.
    std::vector<std::pair<int, int>> holes;
    for (int y = 1; y + 1 < surfaces.height(); ++y)
        for (int x = std::max(surfaces.first_marked(y), 1); x <= std::min(surfaces.last_marked(y), surfaces.width() - 2);
             ++x) {
            if (surfaces.at(x, y) != 0) continue;
            bool enclosed = true;
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                enclosed = enclosed && height_at(surfaces.surface(surfaces.at(x + dx, y + dy)), x - ox, y - oy) > 0.5f;
            if (enclosed) holes.emplace_back(x, y);
        }
    for (const auto& [x, y] : holes) {
        SurfaceId best = 0;
        float highest = 0.0f;
        for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
            const SurfaceId id = surfaces.at(x + dx, y + dy);
            if (const float h = height_at(surfaces.surface(id), x - ox, y - oy); h > highest) highest = h, best = id;
        }
        surfaces.mark(x, y, best);
    }
}

void paint_mountain_border(TileContext& context, DrawingContext& dc) {
    dc.set_painted_light(1.0f);
    const std::vector<std::int16_t>& profile = context.state.mountain_profile;
    for (int x = 0; x <= 400; ++x)
        if (profile[x] < no_rock_in_column && profile[x + 1] < no_rock_in_column) {
            // The border is part of the rock just under it.
            if (dc.mapping_surfaces()) dc.reuse_surface(dc.surface_under(x, profile[x] + 2));
            dc.line_xy(x, profile[x], x, profile[x + 1], mountain_border_colour);
        }
}
