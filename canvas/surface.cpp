#include "canvas/surface.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double root_two = 1.4142135623730951;
// The 2:1 view looks down at 30 degrees.
constexpr double view_sin = 0.5;
constexpr double view_cos = 0.86602540378443865;

SurfaceNormal unit(double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length < 1e-12) return {};
    return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length)};
}

// A normal seen in the camera's own frame (u right, w up the screen, toward
// the camera): tilted back into the world.
WorldDirection from_camera(double u, double w, double toward) {
    return {u, w * view_sin - toward * view_cos, w * view_cos + toward * view_sin};
}
}  // namespace

SurfaceNormal tile_normal(WorldDirection d) {
    // Nothing painted faces down into the ground: the underside of a round
    // thing seen from above is taken as facing sideways.
    d.up = std::max(d.up, 0.0);
    // On screen a step to the right is twice as long as a step away (2:1), so
    // a horizontal direction keeps its length but turns towards X.
    const double horizontal = std::sqrt(d.right * d.right + d.away * d.away);
    double x = d.right * root_two, y = d.away / root_two;
    const double drawn = std::sqrt(x * x + y * y);
    if (drawn > 0.0) x *= horizontal / drawn, y *= horizontal / drawn;
    return unit(x, y, d.up);
}

WorldDirection ground_axes(double along_i, double along_j, double up) {
    return {(along_i - along_j) / root_two, -(along_i + along_j) / root_two, up};
}

Surface flat_ground() { return {}; }

Surface standing_plane(WorldDirection direction, float foot_x, float foot_y, float foot_slope, float lift) {
    Surface s;
    s.direction = direction;
    s.per_x = foot_slope;
    s.per_y = -1.0f;
    s.base = foot_y - foot_slope * foot_x + lift;
    return s;
}

Surface plane_at_height(WorldDirection direction, float height) {
    Surface s;
    s.direction = direction;
    s.base = height;
    return s;
}

Surface dome(float cx, float cy, float rx, float ry, float foot_y) {
    Surface s;
    s.shape = Surface::Shape::dome;
    s.cx = cx, s.cy = cy, s.rx = std::max(rx, 0.5f), s.ry = std::max(ry, 0.5f);
    s.base = foot_y, s.per_y = -1.0f;
    return s;
}

Surface round_upright(float axis_x, float radius, float at_y, float growth, double lean, float foot_y) {
    Surface s;
    s.shape = Surface::Shape::upright;
    s.direction.up = std::clamp(lean, 0.0, 1.0);
    s.cx = axis_x, s.rx = radius, s.cy = at_y, s.ry = growth;
    s.base = foot_y, s.per_y = -1.0f;
    return s;
}

SurfaceNormal normal_at(const Surface& s, int x, int y) {
    // Offsets are taken from the pixel's centre.
    const double px = x + 0.5, py = y + 0.5;
    switch (s.shape) {
        case Surface::Shape::plane: return tile_normal(s.direction);
        case Surface::Shape::dome: {
            double u = (px - s.cx) / s.rx, w = (s.cy - py) / s.ry;
            const double reach = u * u + w * w;
            if (reach > 1.0) u /= std::sqrt(reach), w /= std::sqrt(reach);
            return tile_normal(from_camera(u, w, std::sqrt(std::max(0.0, 1.0 - u * u - w * w))));
        }
        case Surface::Shape::upright: {
            const double radius = std::max(0.5, s.rx + (py - s.cy) * s.ry);
            const double u = std::clamp((px - s.cx) / radius, -1.0, 1.0);
            const double side = std::sqrt(1.0 - s.direction.up * s.direction.up);
            return tile_normal({u * side, -std::sqrt(1.0 - u * u) * side, s.direction.up});
        }
    }
    return {};
}

float height_at(const Surface& s, int x, int y) {
    return std::max(0.0f, s.base + s.per_x * static_cast<float>(x) + s.per_y * static_cast<float>(y));
}
