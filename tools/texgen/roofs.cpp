// The twelve roofs of the building sheet. Texture rows run along the ridge
// and down the slope: courses are horizontal, the eave is towards the bottom.
#include "colour_math.hpp"
#include "material.hpp"
#include "noise.hpp"
#include "recipes.hpp"

#include <array>
#include <cmath>

namespace texgen {
namespace {

constexpr int kP = 128;

enum class RoofKind { Tiles, FishScale, Pantile, Shingle, Slate, Thatch, Seam, Slabs, Sod };

struct RoofStyle {
    RoofKind kind;
    int courses;  // courses down the 128-pixel period (even)
    int across;   // tiles, shingles or seams across the period
    Col colour;
    double tint;  // per-tile spread
    double moss;  // 0..1 share covered in moss or lichen
    std::uint64_t seed;
};

const std::array<RoofStyle, 12> kRoofs = {{
    {RoofKind::Tiles, 12, 16, col(170, 70, 46), 0.14, 0.0, 701},      // red clay
    {RoofKind::FishScale, 12, 12, col(124, 70, 56), 0.12, 0.0, 702},  // brown fish-scale
    {RoofKind::Pantile, 10, 10, col(204, 110, 56), 0.1, 0.0, 703},    // orange pantiles
    {RoofKind::Shingle, 12, 14, col(134, 92, 56), 0.18, 0.0, 704},    // wood shingles
    {RoofKind::Slate, 12, 10, col(78, 88, 106), 0.12, 0.0, 705},      // blue slate
    {RoofKind::Thatch, 4, 64, col(196, 160, 84), 0.1, 0.0, 706},      // golden thatch
    {RoofKind::Seam, 1, 8, col(84, 150, 128), 0.05, 0.0, 707},        // copper patina
    {RoofKind::Slabs, 8, 9, col(136, 132, 122), 0.14, 0.25, 708},     // stone slabs
    {RoofKind::Shingle, 10, 12, col(128, 124, 112), 0.14, 0.4, 709},  // grey, mossy shingles
    {RoofKind::Thatch, 6, 64, col(122, 92, 60), 0.12, 0.0, 710},      // old dark thatch
    {RoofKind::FishScale, 12, 14, col(70, 104, 86), 0.1, 0.0, 711},   // green glazed scales
    {RoofKind::Sod, 4, 64, col(86, 118, 44), 0.1, 0.0, 712},          // turf
}};

struct Course {
    int index, top, height, ly;
};

// Courses spread evenly over the period.
Course course_at(int y, int n) {
    Course c;
    c.index = y * n / kP;
    c.top = (c.index * kP + n - 1) / n;
    c.height = ((c.index + 1) * kP + n - 1) / n - c.top;
    c.ly = y - c.top;
    return c;
}

struct Piece {
    int index, lx, width;
};

// Tile under u in a course of n tiles shifted by off.
Piece piece_at(int u, int n, int off) {
    u = wrap(u - off, kP);
    Piece p;
    p.index = u * n / kP;
    int start = (p.index * kP + n - 1) / n;
    p.width = ((p.index + 1) * kP + n - 1) / n - start;
    p.lx = u - start;
    return p;
}

Col moss_over(const RoofStyle& s, Col c, int x, int y, double light) {
    if (s.moss <= 0.0) return c;
    double m = fbm(s.seed ^ 0x305, x + 0.5, y + 0.5, 4, 4, kP, kP, 4);
    if (m > 1.0 - s.moss) return mix(c, shade(col(96, 120, 46), light), 0.8);
    if (m > 1.0 - s.moss - 0.04) return mix(c, shade(col(140, 140, 70), light), 0.5);
    return c;
}

Col tiles(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    Piece p = piece_at(x, s.across, (c.index % 2) * (kP / s.across / 2));
    std::uint64_t h = hash_ints(s.seed, c.index, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.08);
    double g = double(c.ly) / c.height;
    double light = -0.3 + 0.42 * g;           // darker under the course above
    if (c.ly < 2) light = -0.65;              // its shadow
    if (c.ly == c.height - 1) light += 0.15;  // lit lower edge
    if (p.lx == p.width - 1) light = -0.55;   // side gap
    else if (p.lx == 0) light += 0.1;
    double n = fbm(s.seed ^ 7, x + 0.5, y + 0.5, 16, 16, kP, kP, 2);
    light += (n - 0.5) * 0.2;
    return moss_over(s, shade(t, light), x, y, light);
}

Col fish_scale(const RoofStyle& s, int x, int y) {
    // A scale hangs below its course: its rounded foot covers the next course's top.
    const int ch = kP / s.courses;
    const int half = kP / s.across / 2;
    Course c = course_at(y, s.courses);
    int row = c.index, ly = c.ly;
    Piece p = piece_at(x, s.across, (row % 2) * half);
    // Try the scale of the course above first: it lies on top.
    int up = wrap(row - 1, s.courses);
    Piece pu = piece_at(x, s.across, (up % 2) * half);
    double du = (pu.lx + 0.5 - pu.width / 2.0) / (pu.width / 2.0);
    double reach_u = ch * 0.55 * std::sqrt(std::fmax(0.0, 1.0 - du * du));
    double edge;
    if (ly < reach_u) {
        row = up;
        p = pu;
        ly += ch;
        edge = ch + reach_u - ly;
    } else {
        double d = (p.lx + 0.5 - p.width / 2.0) / (p.width / 2.0);
        edge = ch + ch * 0.55 * std::sqrt(std::fmax(0.0, 1.0 - d * d)) - ly;
    }
    std::uint64_t h = hash_ints(s.seed, row, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.06);
    double light = -0.35 + 0.35 * (double(ly) / (ch * 1.5));
    if (ly < 2) light = -0.6;
    if (edge < 1.5) light = -0.45;      // the scale's rim
    else if (edge < 3.0) light += 0.3;  // lit just inside it
    double across = (p.lx + 0.5) / p.width;
    light += 0.12 * (0.5 - across);  // rounded: light from the left
    double n = fbm(s.seed ^ 9, x + 0.5, y + 0.5, 16, 16, kP, kP, 2);
    light += (n - 0.5) * 0.16;
    return moss_over(s, shade(t, light), x, y, light);
}

Col pantile(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    Piece p = piece_at(x, s.across, 0);  // pantiles line up down the slope
    std::uint64_t h = hash_ints(s.seed, c.index, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.06);
    // An S profile: a round roll (lit on the left) then a flat pan.
    double a = (p.lx + 0.5) / p.width;
    double light = a < 0.45 ? 0.35 - 1.4 * a : (a < 0.55 ? -0.55 : -0.2 + 0.3 * (a - 0.55));
    light += -0.15 + 0.2 * (double(c.ly) / c.height);
    if (c.ly < 2) light -= 0.45;
    double n = fbm(s.seed ^ 11, x + 0.5, y + 0.5, 16, 16, kP, kP, 2);
    light += (n - 0.5) * 0.16;
    return moss_over(s, shade(t, light), x, y, light);
}

Col shingle(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    // Shingles of uneven width: shift each course by a hashed amount.
    int off = static_cast<int>(hash_ints(s.seed, c.index) % 64);
    Piece p = piece_at(x, s.across, off);
    std::uint64_t h = hash_ints(s.seed, c.index, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.1);
    double n = fbm(s.seed ^ static_cast<std::uint64_t>(c.index), x + 0.5, y + 0.5, 32, 2, kP, kP, 2);
    double light = (n - 0.5) * 0.5 - 0.25 + 0.35 * (double(c.ly) / c.height);
    if (c.ly < 2) light = -0.6;
    // Some butts are worn shorter: a ragged lower edge.
    if (c.ly >= c.height - 1 - static_cast<int>(sub_unit(h, 1) * 2.0)) light += 0.2;
    if (p.lx == p.width - 1) light = -0.6;
    return moss_over(s, shade(t, light), x, y, light);
}

Col slate(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    Piece p = piece_at(x, s.across, (c.index % 2) * (kP / s.across / 2));
    std::uint64_t h = hash_ints(s.seed, c.index, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.1);
    double light = -0.2 + 0.25 * (double(c.ly) / c.height) + (sub_unit(h, 2) - 0.5) * 0.2;
    if (c.ly < 2) light = -0.6;
    if (c.ly == c.height - 1) light += 0.35;  // thin bright lower edge
    if (p.lx == p.width - 1) light = -0.5;
    // A sheen across some slates.
    if (sub_unit(h, 3) < 0.3 && wrap(p.lx - c.ly, 12) < 2) light += 0.15;
    return moss_over(s, shade(t, light), x, y, light);
}

Col thatch(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    // Straws slant within each course and brighten towards their tips.
    double slant = x + 0.35 * c.ly;
    double u = wrapd(slant, kP);
    double straws = value_noise(s.seed ^ static_cast<std::uint64_t>(c.index), u, c.ly * 0.25, s.across, 8, kP, kP);
    double clumps = fbm(s.seed ^ 0x77, u, y + 0.5, 8, 4, kP, kP, 2);
    double t = double(c.ly) / c.height;
    double light = (straws - 0.5) * 0.8 + (clumps - 0.5) * 0.4 - 0.45 + 0.65 * t;
    if (c.ly < 2) light -= 0.35;
    // Bands: light quantised so straws read as strokes.
    light = std::floor(light * 6.0) / 6.0;
    return shade(s.colour, light);
}

Col seam(const RoofStyle& s, int x, int y) {
    Piece p = piece_at(x, s.across, 0);
    std::uint64_t h = hash_ints(s.seed, p.index);
    Col t = feature_tint(s.colour, h, 1.0 - s.tint, 1.0 + s.tint, 0.04);
    double n = fbm(s.seed ^ 3, x + 0.5, y + 0.5, 8, 4, kP, kP, 3);
    double light = (n - 0.5) * 0.5;
    if (p.lx < 2) light = 0.45;                         // the standing seam, lit
    else if (p.lx < 4) light = -0.45;                   // and its shadow
    if (n > 0.66) t = mix(t, col(150, 190, 170), 0.3);  // chalky verdigris streaks
    return shade(t, light);
}

Col slabs(const RoofStyle& s, int x, int y) {
    CellHit c = cell_noise(s.seed, x + 0.5, y + 0.5, s.across, s.courses, kP, kP, 0.7);
    Col t = feature_tint(s.colour, c.id, 1.0 - s.tint, 1.0 + s.tint, 0.08);
    double edge = c.f2 - c.f1;
    double light = (c.dy > 0 ? -0.1 : 0.1) * std::fmin(1.0, -c.dy / 8.0 + 0.5);
    light += (fbm(s.seed ^ 5, x + 0.5, y + 0.5, 16, 16, kP, kP, 2) - 0.5) * 0.3;
    if (edge < 2.0) light = -0.65;
    else if (edge < 3.5 && c.dy < 0) light -= 0.3;
    return moss_over(s, shade(t, light), x, y, light);
}

Col sod(const RoofStyle& s, int x, int y) {
    Course c = course_at(y, s.courses);
    double u = wrapd(x - 0.2 * c.ly, kP);
    double blades = value_noise(s.seed ^ static_cast<std::uint64_t>(c.index), u, c.ly * 0.5, 64, 8, kP, kP);
    double patches = fbm(s.seed ^ 0x1, x + 0.5, y + 0.5, 4, 4, kP, kP, 3);
    double light = (blades - 0.5) * 0.7 + (patches - 0.5) * 0.5 - 0.3 + 0.5 * (double(c.ly) / c.height);
    Col base = patches > 0.62 ? col(126, 122, 52) : s.colour;  // drier tufts
    light = std::floor(light * 6.0) / 6.0;
    return shade(base, light);
}

}  // namespace

Rgb roof_texel(int index, int x, int y) {
    const RoofStyle& s = kRoofs[static_cast<std::size_t>(index)];
    x = wrap(x, kP);
    y = wrap(y, kP);
    Col c;
    switch (s.kind) {
        case RoofKind::Tiles: c = tiles(s, x, y); break;
        case RoofKind::FishScale: c = fish_scale(s, x, y); break;
        case RoofKind::Pantile: c = pantile(s, x, y); break;
        case RoofKind::Shingle: c = shingle(s, x, y); break;
        case RoofKind::Slate: c = slate(s, x, y); break;
        case RoofKind::Thatch: c = thatch(s, x, y); break;
        case RoofKind::Seam: c = seam(s, x, y); break;
        case RoofKind::Slabs: c = slabs(s, x, y); break;
        case RoofKind::Sod: c = sod(s, x, y); break;
    }
    return avoid_key(lift_dark(to_rgb(c), 30));
}

}  // namespace texgen
