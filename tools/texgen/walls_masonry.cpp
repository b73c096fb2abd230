#include "walls_masonry.hpp"

#include "material.hpp"
#include "noise.hpp"

#include <cmath>

namespace texgen {
namespace {

constexpr int kP = 128;

// Light fleck-and-pit surface shared by fired clay and stone.
Col surface(Col c, std::uint64_t seed, int x, int y, double amount) {
    double n = fbm(seed, x + 0.5, y + 0.5, 8, 8, kP, kP, 3);
    double light = (n - 0.5) * 2.0 * amount;
    double p = pixel_hash(seed ^ 0x77, x, y, kP);
    if (p < 0.025) light -= 0.35;
    else if (p > 0.985) light += 0.25;
    return shade(c, light);
}

}  // namespace

Rgb brick_texel(const BrickStyle& s, int x, int y) {
    x = wrap(x, kP);
    y = wrap(y, kP);
    // Courses and bricks are spread evenly over the period, so heights and
    // lengths may differ by a pixel but always close the tile.
    const int courses = s.courses;
    const int course = y * courses / kP;
    const int course_top = (course * kP + courses - 1) / courses;
    const int course_h = ((course + 1) * kP + courses - 1) / courses - course_top;
    const int ly = y - course_top;
    const int mortar = 2;
    int n = s.per_course, off = 0;
    bool header = false;
    const int len = kP / n;
    switch (s.bond) {
        case Bond::Running: off = (course % 2) * len / 2; break;
        case Bond::Third: off = (course % 3) * len / 3; break;
        case Bond::Stack: off = 0; break;
        case Bond::English:
            header = course % 2 == 1;
            if (header) n *= 2;
            off = header ? len / 4 : 0;
            break;
        case Bond::Flemish: off = (course % 2) * (len * 3 / 4); break;
    }
    int u = wrap(x - off, kP);
    int idx, lx, w;
    if (s.bond == Bond::Flemish) {
        // Stretcher then header, repeating; the last piece closes the period.
        const int pair = len * 3 / 2;
        const int pairs = kP / pair;
        const int p = u / pair;
        if (p >= pairs) {
            idx = 2 * pairs;
            lx = u - pairs * pair;
            w = kP - pairs * pair;
        } else {
            int in = u - p * pair;
            header = in >= len;
            idx = 2 * p + (header ? 1 : 0);
            lx = header ? in - len : in;
            w = header ? pair - len : len;
        }
    } else {
        idx = u * n / kP;
        int start = (idx * kP + n - 1) / n;
        w = ((idx + 1) * kP + n - 1) / n - start;
        lx = u - start;
    }
    const bool in_mortar = ly >= course_h - mortar || lx >= w - mortar;
    if (in_mortar) {
        Col m = surface(s.mortar, s.seed ^ 0x4D, x, y, 0.12);
        // Joints sit back from the face: darker right under a brick.
        if (ly == course_h - mortar) m = shade(m, -0.25);
        return avoid_key(to_rgb(m));
    }
    std::uint64_t h = hash_ints(s.seed, course, idx);
    Col c = feature_tint(s.brick, h, 1.0 - s.spread, 1.0 + s.spread * 0.9, 0.08);
    if (header && s.dark_headers > 0.0) c = shade(c, -s.dark_headers);
    // Some bricks are burnt darker at one end.
    if (sub_unit(h, 7) < 0.18) c = shade(c, -0.3 * (1.0 - double(lx) / w));
    c = surface(c, s.seed, x, y, 0.16);
    if (ly == 0) c = shade(c, 0.22);
    else if (ly == course_h - mortar - 1 || lx == w - mortar - 1) c = shade(c, -0.28);
    else if (lx == 0) c = shade(c, 0.1);
    return avoid_key(to_rgb(c));
}

Rgb rubble_texel(const RubbleStyle& s, int x, int y) {
    const double px = x + 0.5, py = y + 0.5;
    // A little warp keeps the stones from looking like a Voronoi diagram.
    double wx = (fbm(s.seed ^ 1, px, py, 4, 4, kP, kP, 2) - 0.5) * 6.0;
    double wy = (fbm(s.seed ^ 2, px, py, 4, 4, kP, kP, 2) - 0.5) * 6.0;
    CellHit c =
        cell_noise(s.seed, wrap(x, kP) + 0.5 + wx, wrap(y, kP) + 0.5 + wy, s.nx, s.ny, kP, kP, s.rounded ? 0.5 : 0.85);
    double edge = c.f2 - c.f1;  // distance to the joint, doubled
    double radius = 0.5 * double(kP) / (s.nx > s.ny ? s.nx : s.ny);
    double joint = s.rounded ? s.joint + 0.35 * radius * (1.0 - 0.6 * sub_unit(c.id, 3)) : s.joint;
    if (edge < joint) {
        Col m = surface(s.mortar, s.seed ^ 0x99, x, y, 0.15);
        return avoid_key(to_rgb(shade(m, edge < joint * 0.5 ? -0.25 : 0.0)));
    }
    Col stone = feature_tint(s.stone, c.id, 1.0 - s.tint, 1.0 + s.tint * 0.8, 0.1);
    // Light from the top left: the pixel's offset from the stone's centre is -d.
    double nx = -c.dx / radius, ny = -c.dy / radius;
    double light = (-nx - ny) * 0.32;
    if (edge < joint + 2.0) light -= (c.dy > 0.0 ? 0.1 : 0.35);  // rim in shadow below
    else if (edge < joint + 3.5 && c.dy > 0.0) light += 0.15;    // lit upper rim
    Col out = surface(stone, s.seed ^ 0x5, x, y, 0.2);
    out = shade(out, light);
    if (s.moss > 0.0) {
        double m = fbm(s.seed ^ 0x3055, px, py, 8, 8, kP, kP, 3);
        if (ny < -0.1 && m > 1.0 - s.moss) out = mix(out, shade(col(86, 112, 38), light), 0.75);
    }
    return avoid_key(to_rgb(out));
}

Rgb ashlar_texel(const AshlarStyle& s, int x, int y) {
    x = wrap(x, kP);
    y = wrap(y, kP);
    int course = 0, top = 0;
    while (course < 7 && s.courses[static_cast<std::size_t>(course) + 1] != 0 &&
           y >= top + s.courses[static_cast<std::size_t>(course)]) {
        top += s.courses[static_cast<std::size_t>(course)];
        ++course;
    }
    const int h = s.courses[static_cast<std::size_t>(course)], ly = y - top;
    int u = wrap(x - course * s.shift, kP), start = 0, idx = 0;
    while (true) {
        int w = s.widths[static_cast<std::size_t>(idx % 4)];
        if (u < start + w || start + w >= kP) break;
        start += w;
        ++idx;
    }
    int w = s.widths[static_cast<std::size_t>(idx % 4)];
    if (start + w > kP) w = kP - start;
    const int lx = u - start;
    const int j = 2;
    if (ly >= h - j || lx >= w - j) {
        return avoid_key(to_rgb(surface(s.joint, s.seed ^ 0x31, x, y, 0.1)));
    }
    std::uint64_t hb = hash_ints(s.seed, course, idx);
    Col c = feature_tint(s.stone, hb, 0.86, 1.1, 0.05);
    // Tooled face: faint horizontal chisel lines and a weathered lower edge.
    c = surface(c, s.seed, x, y, 0.14);
    if (((ly + static_cast<int>(hb % 3)) % 4) == 0) c = shade(c, -0.06);
    if (ly <= 1 || lx <= 1) c = shade(c, 0.2);
    else if (ly >= h - j - 2 || lx >= w - j - 2) c = shade(c, -0.22);
    return avoid_key(to_rgb(c));
}

}  // namespace texgen
