#pragma once
#include "canvas/colour.hpp"
#include "canvas/painted_mask.hpp"
#include "canvas/raster_image.hpp"
#include "canvas/surface_ids.hpp"
#include "canvas/tile_canvas.hpp"

#include <algorithm>
#include <cstdlib>

enum class DrawingMode { Filled = 0, Outlined = 4 };

// A drawing target and mode. Every shape is clipped silently at the target's
// edges; with no target open nothing is painted and point() answers -1.
// Drawing coordinates are the target's pixels moved by its origin: a tile
// canvas's origin, (0, 0) for any other image.
// Opening on construction and closing on destruction keeps the bracket of
// start_drawing ... stop_drawing tidy.
//
// Surface ids of the target's size may ride along: every pixel painted then
// also records the current surface (flat ground until one is named). Without
// one, naming a surface does nothing and the painting is the same. So may a
// painted mask: every pixel painted is marked, and erase_box unmarks.
class DrawingContext {
public:
    DrawingContext() = default;
    explicit DrawingContext(RasterImage& target) { start_drawing(target); }
    explicit DrawingContext(TileCanvas& target) { start_drawing(target, target.origin_x(), target.origin_y()); }
    DrawingContext(TileCanvas& target, SurfaceIds* surfaces, PaintedMask* painted = nullptr)
        : DrawingContext(target) {
        if (surfaces && surfaces->width() == target.width() && surfaces->height() == target.height() &&
            surfaces->origin_x() == target.origin_x() && surfaces->origin_y() == target.origin_y()) {
            surfaces_ = surfaces;
            keeps_light_ = surfaces->keeps_light();
        }
        if (painted && painted->width() == target.width() && painted->height() == target.height()) painted_ = painted;
    }
    ~DrawingContext() = default;
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    void start_drawing(RasterImage& target, int origin_x = 0, int origin_y = 0) {
        target_ = &target;
        origin_x_ = origin_x;
        origin_y_ = origin_y;
        mode_ = DrawingMode::Filled;
    }
    void stop_drawing() {
        target_ = nullptr;
        surfaces_ = nullptr;
        painted_ = nullptr;
        keeps_light_ = false;
    }
    void set_drawing_mode(DrawingMode mode) { mode_ = mode; }
    DrawingMode drawing_mode() const { return mode_; }

    // Whether painting records surfaces: generators skip the sums that only
    // describe a surface when it does not.
    bool mapping_surfaces() const { return surfaces_ != nullptr; }
    void set_surface(const Surface& surface) {
        if (surfaces_) current_surface_ = surfaces_->add(surface);
    }
    // The surface already under a pixel (0 outside or with no surface ids), to paint
    // more over it as part of the same surface.
    SurfaceId surface_under(int x, int y) const {
        x += origin_x_, y += origin_y_;
        return surfaces_ && target_ && target_->contains(x, y) ? surfaces_->at(x, y) : 0;
    }
    void reuse_surface(SurfaceId id) { current_surface_ = id; }
    // The id the last set_surface named (0 with no surface ids).
    SurfaceId current_surface() const { return current_surface_; }
    // Gives an already painted pixel another surface, leaving its colour.
    void remark_surface(int x, int y, SurfaceId id) {
        x += origin_x_, y += origin_y_;
        if (surfaces_ && target_ && target_->contains(x, y)) surfaces_->mark(x, y, id);
    }
    // The light the next pixels are painted with: the factor the generator
    // scaled their colour by for its own shading (1, the start: none). Kept
    // beside the surfaces when they keep light, so the colour can be unlit.
    void set_painted_light(float factor) { painted_light_ = factor; }

    // A colour outside 0..16777215 paints its low 24 bits (what red(), green()
    // and blue() read from it).
    void plot(int x, int y, Colour c) {
        if (target_) put(x + origin_x_, y + origin_y_, c);
    }
    Colour point(int x, int y) const {
        x += origin_x_, y += origin_y_;
        return (target_ && target_->contains(x, y)) ? target_->pixel(x, y) : no_colour;
    }

    void box(int x, int y, int w, int h, Colour c);
    // The filled box in the background's colour, which puts the background
    // back: its pixels count as not painted.
    void erase_box(int x, int y, int w, int h, Colour background);
    // From (x, y) towards (x + w, y + h), the end point itself left out.
    void line(int x, int y, int w, int h, Colour c);
    // From (x1, y1) to (x2, y2), both end points painted.
    void line_xy(int x1, int y1, int x2, int y2, Colour c);
    // r = 1: the 2 x 2 square at (x, y); r >= 2: the ellipse inscribed in the
    // square (x - r, y - r) .. (x + r - 1, y + r - 1).
    void circle(int x, int y, int r, Colour c);
    void draw_image(const RasterImage& source, int x, int y);

private:
    // These two take target pixels, the origin already applied.
    void put(int x, int y, Colour c) {
        if (target_->contains(x, y)) {
            target_->set_pixel(x, y, c);
            if (painted_) painted_->mark(x, y);
            if (surfaces_) {
                if (keeps_light_) surfaces_->mark_lit(x, y, current_surface_, painted_light_);
                else surfaces_->mark(x, y, current_surface_);
            }
        }
    }
    void fill_span(int x0, int x1, int y, Colour c);

    RasterImage* target_ = nullptr;
    int origin_x_ = 0, origin_y_ = 0;
    DrawingMode mode_ = DrawingMode::Filled;
    SurfaceIds* surfaces_ = nullptr;
    PaintedMask* painted_ = nullptr;
    SurfaceId current_surface_ = 0;
    bool keeps_light_ = false;
    float painted_light_ = 1.0f;
};

// Lines are the generators' commonest call (a mountain draws two per
// sample), so they are inline.
inline void DrawingContext::line(int x, int y, int w, int h, Colour c) {
    if (!target_) return;
    // Bresenham: one pixel per step along the major axis (x on a tie), the
    // minor coordinate rounded to the ideal line, trunc((2 i minor + major) /
    // (2 major)), kept as a running quotient and remainder; the end point is
    // left out.
    const long long aw = std::llabs(static_cast<long long>(w));
    const long long ah = std::llabs(static_cast<long long>(h));
    const int sx = w < 0 ? -1 : 1;
    const int sy = h < 0 ? -1 : 1;
    const long long major = std::max(aw, ah);
    const long long rise = 2 * std::min(aw, ah);  // never above the divisor 2 * major
    const long long divisor = 2 * major;
    // Steps along x and along the minor axis, whichever of x and y is major.
    const int major_dx = aw >= ah ? sx : 0, major_dy = aw >= ah ? 0 : sy;
    const int minor_dx = aw >= ah ? 0 : sx, minor_dy = aw >= ah ? sy : 0;
    long long remainder = major;
    int px = x + origin_x_, py = y + origin_y_;
    for (long long i = 0; i < major; ++i) {
        put(px, py, c);
        px += major_dx;
        py += major_dy;
        remainder += rise;
        if (remainder >= divisor) {
            remainder -= divisor;
            px += minor_dx;
            py += minor_dy;
        }
    }
}

inline void DrawingContext::line_xy(int x1, int y1, int x2, int y2, Colour c) {
    line(x1, y1, x2 - x1, y2 - y1, c);
    plot(x2, y2, c);
}
