#include "generators/house/wall_faces.hpp"

#include "state/control_ids.hpp"
#include "state/texture_cells.hpp"
#include "canvas/numbers.hpp"
#include "generators/house/openings.hpp"

#include <cstring>
#include <vector>

namespace {
struct FacePlacement {
    int x0, y0;   // the face's left end on the ground
    float slope;  // +0.4 runs down to the right on screen, -0.4 up
    float shade;
};

FacePlacement face_placement(const TileGeometry& g, int kind) {
    switch (kind) {
        case left_front_face: return {g.house_left_x, g.house_left_y, 0.4f, 0.75f};
        case right_front_face: return {g.house_front_x, g.house_front_y, -0.4f, 1.0f};
        case right_back_face: return {g.house_back_x, g.house_back_y, 0.4f, 0.5f};
        default: return {g.house_left_x, g.house_left_y, -0.4f, 0.5f};
    }
}

// A face's pixels rise from its foot, the line through (x0, y0 - 1) that
// falls by slope / 0.8 a pixel to the right.
Surface wall_surface(int kind, const FacePlacement& at) {
    return standing_plane(wall_facing(kind), static_cast<float>(at.x0), static_cast<float>(at.y0 - 1),
                          at.slope * 1.25f);
}

// The ragged top of a ruin: a walk of depths from a quarter to three quarters
// of the house height, one step of -3..+3 a column over 129 columns whatever
// the face's width.
void break_wall_top(TileContext& context, RasterImage& wall) {
    const int height = context.state.house_height;
    int depth = random_below(context.random, height / 2) + height / 4;
    DrawingContext dc(wall);
    for (int x = 0; x <= 128; ++x) {
        depth += random_below(context.random, 7) - 3;
        dc.line(x, 0, 0, depth, transparent_key);
    }
}

// Five grey heaps along the foot of the two front walls, lighter to the right.
void draw_rubble(TileContext& context, DrawingContext& dc, int face_width) {
    const TileGeometry& g = context.state.geometry;
    RandomSource& random = context.random;
    for (int heap = 1; heap <= 5; ++heap) {
        const int r = random_below(random, 2 * face_width);
        const int cx = g.house_left_x + r - face_width / 6;
        const int base = r <= face_width ? nearest_to_int(g.house_left_y + r * 0.5)
                                         : nearest_to_int(g.house_front_y - (r - face_width) * 0.5);
        const int w = random_below(random, face_width / 2) + 10;
        const int half = w / 2;
        const int grad = 120 / w;
        dc.set_surface(
            dome(cx + 0.5f, static_cast<float>(base), half + 1.0f, half / 2.0f + 1.0f, static_cast<float>(base)));
        const int step = face_width / 3;
        int acc = 0;
        int dir = 1;
        for (int n = 0; n <= w; ++n) {
            const int x = cx + n - half;
            acc += random_below(random, step) * dir;
            if (n > half) dir = -1;
            if (acc < 0) acc = 0;
            for (int y = base; y >= base - acc / 10; --y) {
                const int v = grad * n + 60 - random_below(random, 40);
                dc.plot(x, y, rgb(v, v, v));
            }
        }
    }
}

// Every wall pixel is visited four times on half-pixel steps: column i lands
// at x0 + 0.4 i and climbs or falls by slope / 2 a step, so the face's L
// columns cover the 0.8 L pixels of its footprint edge.
void project_wall_face(DrawingContext& dc, const RasterImage& wall, const FacePlacement& at) {
    const int width = wall.width(), height = wall.height();
    // The rise of step i is never a half (0.4 in single precision is no
    // short binary fraction), so it rounds the same added to any whole row.
    std::vector<int> xs(2 * width), rise(2 * width);
    for (int i = 0; i < 2 * width; ++i) {
        xs[i] = nearest_to_int(at.x0 + i * static_cast<double>(0.4f));
        rise[i] = nearest_to_int(i * static_cast<double>(at.slope) / 2);
    }
    dc.set_painted_light(at.shade);  // a face darker the more it turns from the light
    std::vector<Colour> shaded(static_cast<std::size_t>(width));
    std::vector<bool> hole(static_cast<std::size_t>(width));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const Colour p = wall.pixel(column, row);
            hole[column] = p == transparent_key;
            const double shade = at.shade;
            shaded[column] =
                rgb(nearest_to_int(red(p) * shade), nearest_to_int(green(p) * shade), nearest_to_int(blue(p) * shade));
        }
        // The two half-pixel steps j = 2 row and 2 row + 1 land on the same
        // pixels with the same colours, so one of them paints the row.
        const int y_row = at.y0 - height + row;
        for (int i = 0; i < 2 * width; ++i)
            if (!hole[i / 2]) dc.plot(xs[i], y_row + rise[i], shaded[i / 2]);
    }
}
}  // namespace

WorldDirection wall_facing(int kind) {
    const bool faces_j = kind == left_front_face || kind == right_back_face;
    return faces_j ? ground_axes(0.0, 1.0, 0.0) : ground_axes(1.0, 0.0, 0.0);
}

RasterImage prepare_wall_image(TileContext& context, int face_width, int image_height, bool front) {
    const SheetPoint cell = building_cell_origin(context.state.wall_texture);
    const RasterImage& sheet = context.state.building_sheet.image;
    // The top-left L x H pixels of the cell; a front face taller than the
    // cell takes the cell's rows again from its top (walls repeat in height),
    // never the next cell's.
    RasterImage wall = create_image(face_width, image_height);
    const bool inside =
        sheet.contains(cell.x, cell.y) && sheet.contains(cell.x + face_width - 1, cell.y + building_cell_size - 1);
    for (int y = 0; y < image_height; ++y) {
        const int row = cell.y + y % building_cell_size;
        if (inside) {
            std::memcpy(wall.row(y), sheet.row(row) + 3 * cell.x, 3 * static_cast<std::size_t>(face_width));
            continue;
        }
        for (int x = 0; x < face_width; ++x) wall.set_pixel(x, y, sheet.colour_at(cell.x + x, row));
    }

    DrawingContext dc(wall);
    if (front) {
        // The gable: column k and column L - k lose their top g - k pixels, so
        // a triangle with its apex in the middle column remains.
        const int g = face_width / 2;
        for (int k = 0; k <= g; ++k) {
            dc.line(k, 0, 0, g - k, transparent_key);
            dc.line(face_width - k, 0, 0, g - k, transparent_key);
        }
    }
    place_openings(context, wall, face_width, image_height);
    if (context.state.ruins_mode) break_wall_top(context, wall);
    return wall;
}

void draw_wall_face(TileContext& context, int kind, int house_height) {
    const TileGeometry& g = context.state.geometry;
    const int face_width = wall_face_width(g, context.controls.read(ctl::house_shape), kind);
    const int image_height = face_image_height(kind, face_width, house_height);
    const bool front = kind == left_front_face || kind == right_front_face;
    const RasterImage wall = prepare_wall_image(context, face_width, image_height, front);
    DrawingContext dc(context.state.canvas, context.request.surfaces, context.request.painted);
    const FacePlacement placement = face_placement(g, kind);
    dc.set_surface(wall_surface(kind, placement));
    project_wall_face(dc, wall, placement);
    dc.set_painted_light(1.0f);
    if (context.state.ruins_mode) draw_rubble(context, dc, face_width);
}
