#include "canvas/surface.hpp"

#include "canvas/wide_loops.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double root_two = 1.4142135623730951;
// The 2:1 view looks down at 30 degrees.
constexpr float view_sin = 0.5f;
constexpr float view_cos = 0.866025404f;

// The tile-frame normal of the world direction (right, away, up), written
// without branches so that a row of them is worked out a few at a time.
// Nothing painted faces down into the ground: the underside of a round thing
// seen from above is taken as facing sideways. On screen a step to the right
// is twice as long as a step away (2:1), so a horizontal direction keeps its
// length but turns towards X: (r sqrt 2, a / sqrt 2) scaled back to the
// length of (r, a). A direction of no length is flat ground.
inline void tile_normal_into(float right, float away, float up, float& nx, float& ny, float& nz) {
    up = up > 0.0f ? up : 0.0f;
    const float horizontal = right * right + away * away;
    const float drawn = 2.0f * right * right + 0.5f * away * away;
    const float length = horizontal + up * up;
    const bool none = length < 1e-24f;
    // One division for both: turn = |(r, a)| / (|drawn| |n|), inverse = 1 / |n|.
    const float both = 1.0f / ((drawn > 0.0f ? drawn : 1.0f) * (none ? 1.0f : length));
    const float turn = std::sqrt(horizontal * both);
    const float inverse = std::sqrt((drawn > 0.0f ? drawn : 1.0f) * both);
    nx = none ? 0.0f : right * static_cast<float>(root_two) * turn;
    ny = none ? 0.0f : away * static_cast<float>(1.0 / root_two) * turn;
    nz = none ? 1.0f : up * inverse;
}
}  // namespace

SurfaceNormal tile_normal(WorldDirection d) {
    SurfaceNormal n;
    tile_normal_into(static_cast<float>(d.right), static_cast<float>(d.away), static_cast<float>(d.up), n.x, n.y, n.z);
    return n;
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

void NormalRow::resize(int count) {
    const auto n = static_cast<std::size_t>(std::max(count, 1));
    if (n <= room_) return;
    numbers_ = std::make_unique_for_overwrite<float[]>(7 * n);
    room_ = n;
    float* const at = numbers_.get();
    p = at, q = at + n, r = at + 2 * n, s = at + 3 * n, x = at + 4 * n, y = at + 5 * n, z = at + 6 * n;
}

// Each shape's loop has no branches and arrays that share nothing, so it
// runs a few pixels at a time. (Inlined, the pointers lose their restrict;
// ivdep says the same.)
namespace {
// A dome is seen from the camera (u right, w up the screen, toward it),
// then tilted back into the world; off its ellipse, its rim.
WIDE_LOOPS void domes_out(int count, const float* __restrict p, const float* __restrict q, const float* __restrict r,
                          const float* __restrict s, float* __restrict nx, float* __restrict ny, float* __restrict nz) {
#pragma GCC ivdep
    for (int i = 0; i < count; ++i) {
        const float u = p[i] / q[i], w = r[i] / s[i];
        const float reach = u * u + w * w;
        const float inside = 1.0f / std::sqrt(reach > 1.0f ? reach : 1.0f);
        const float du = u * inside, dw = w * inside;
        const float left = 1.0f - du * du - dw * dw;
        const float toward = std::sqrt(left > 0.0f ? left : 0.0f);
        tile_normal_into(du, dw * view_sin - toward * view_cos, dw * view_cos + toward * view_sin, nx[i], ny[i], nz[i]);
    }
}

// An upright turns with the offset from its axis (its radius never below
// half a pixel); its side leans up by r.
WIDE_LOOPS void uprights_out(int count, const float* __restrict p, const float* __restrict q, const float* __restrict r,
                             float* __restrict nx, float* __restrict ny, float* __restrict nz) {
#pragma GCC ivdep
    for (int i = 0; i < count; ++i) {
        const float across = std::clamp(p[i] / (q[i] < 0.5f ? 0.5f : q[i]), -1.0f, 1.0f);
        const float lean = 1.0f - r[i] * r[i];
        const float side = std::sqrt(lean > 0.0f ? lean : 0.0f);
        const float round = 1.0f - across * across;
        const float back = std::sqrt(round > 0.0f ? round : 0.0f);
        tile_normal_into(across * side, -back * side, r[i], nx[i], ny[i], nz[i]);
    }
}

WIDE_LOOPS void planes_out(int count, const float* __restrict p, const float* __restrict q, const float* __restrict r,
                           float* __restrict nx, float* __restrict ny, float* __restrict nz) {
#pragma GCC ivdep
    for (int i = 0; i < count; ++i) tile_normal_into(p[i], q[i], r[i], nx[i], ny[i], nz[i]);
}
}  // namespace

void NormalRow::work_out(int count) {
    count = std::min(count, static_cast<int>(room_));
    switch (shape_) {
        case Surface::Shape::plane: planes_out(count, p, q, r, x, y, z); return;
        case Surface::Shape::dome: domes_out(count, p, q, r, s, x, y, z); return;
        case Surface::Shape::upright: uprights_out(count, p, q, r, x, y, z); return;
    }
}

SurfaceNormal normal_at(const Surface& surface, int x, int y) {
    NormalRow row(surface.shape);
    row.resize(1);
    row.set(0, surface, x, y);
    row.work_out(1);
    return {row.x[0], row.y[0], row.z[0]};
}
