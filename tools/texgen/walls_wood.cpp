#include "walls_wood.hpp"

#include "material.hpp"
#include "noise.hpp"
#include "walls_masonry.hpp"

#include <cmath>

namespace texgen {
namespace {

constexpr int kP = 128;

// Finds the plank under coordinate u (across the planks): index, offset, width.
void find_plank(const std::array<int, 6>& widths, int u, int& idx, int& at, int& w) {
    int start = 0;
    idx = 0;
    while (true) {
        w = widths[static_cast<std::size_t>(idx % 6)];
        if (w == 0) {  // a shorter list: start over
            idx = 0;
            w = widths[0];
        }
        if (u < start + w || start + w >= kP) break;
        start += w;
        ++idx;
    }
    if (start + w > kP) w = kP - start;
    at = u - start;
}

}  // namespace

Rgb board_texel(const BoardStyle& s, int x, int y) {
    x = wrap(x, kP);
    y = wrap(y, kP);
    // across: position across the planks; along: along the grain.
    const bool vertical = s.kind == BoardKind::Vertical;
    const int across = vertical ? x : y, along = vertical ? y : x;
    int idx, at, w;
    find_plank(s.widths, across, idx, at, w);
    std::uint64_t h = hash_ints(s.seed, idx);
    Col c = feature_tint(s.wood, h, 1.0 - s.tint, 1.0 + s.tint, 0.05);

    // Grain: noise stretched along the plank, rings as a sine across it.
    double ax = vertical ? 16 : 2, ay = vertical ? 2 : 16;  // lattice cells along x, y
    double n = fbm(s.seed ^ static_cast<std::uint64_t>(idx * 131), x + 0.5, y + 0.5, static_cast<int>(ax),
                   static_cast<int>(ay), kP, kP, 3);
    double ring = det_sin((at + 5.0 * n + 3.0 * unit_from_hash(h)) * kTwoPi / 5.0);
    double light = (n - 0.5) * 0.4 + (ring > 0.55 ? -s.grain : 0.0);

    // Knots: one per some planks, a dark ring of a few pixels.
    if (sub_unit(h, 5) < 0.45) {
        double ka = 4.0 + (w - 8) * sub_unit(h, 9);
        double kb = kP * sub_unit(h, 13);
        double da = at - ka, db = wrapd(along - kb + kP / 2.0, double(kP)) - kP / 2.0;
        double d = std::sqrt(da * da + db * db * 0.3);
        if (d < 2.2) light -= 0.5;
        else if (d < 3.6) light -= 0.2;
    }

    if (s.kind == BoardKind::Clapboard) {
        // Each board tilts out at its foot: lit at the top, a lip and its shadow below.
        double t = double(at) / w;
        light += 0.2 - 0.3 * t;
        if (at >= w - 2) light = -0.7;
        else if (at == w - 3) light += 0.25;
    } else if (s.kind == BoardKind::Logs) {
        // Round logs: lit above the middle, dark chinking between them.
        double t = (at + 0.5) / w * 2.0 - 1.0;
        light += 0.35 * (-t) - 0.45 * t * t * t * t;
        if (at < 1 || at >= w - 1) light = -0.75;
        // Log ends every so often, staggered per course.
        int end = wrap(along + static_cast<int>(h % 64), 64);
        if (end < 2) light -= 0.5;
    } else {
        if (at == 0) light += 0.2;
        if (at >= w - 2) light = -0.75;                           // gap between planks
        if (s.battens && (at >= w - 4 || at < 2)) light += 0.25;  // batten over the joint
        // Two nails at each rail.
        int rail = wrap(along - 14, 64);
        if ((rail == 0 || rail == 1) && (at == 3 || at == w - 6)) light = -0.55;
    }

    if (s.paint > 0.0) {
        double flake = fbm(s.seed ^ 0xF1A, x + 0.5, y + 0.5, 8, 8, kP, kP, 3);
        if (flake > 1.0 - s.paint - 0.35) c = mix(c, s.paint_colour, 0.9);
        light *= 0.6;
    }
    return avoid_key(to_rgb(shade(c, light)));
}

Rgb timber_texel(const TimberStyle& s, int x, int y) {
    x = wrap(x, kP);
    y = wrap(y, kP);
    const int bx = wrap(x, 64), by = wrap(y, 64);
    const int panel_x = x / 64, panel_y = y / 64;
    bool beam = false;
    double light = 0.0;
    int bcoord = 0, bwidth = 8;
    if (bx < 8) beam = true, bcoord = bx;
    else if (by < 7) beam = true, bcoord = by, bwidth = 7;
    else {
        // Braces: some panels carry a diagonal from one lower corner.
        std::uint64_t h = hash_ints(s.seed, panel_x, panel_y);
        int kind = static_cast<int>(h % 3);
        if (kind > 0) {
            double px = bx - 8, py = by - 7;  // 56 x 57 panel
            double d = kind == 1 ? px - py * (56.0 / 57.0) : (56.0 - px) - py * (56.0 / 57.0);
            if (std::fabs(d) < 5.0) beam = true, bcoord = static_cast<int>(d + 5.0), bwidth = 10;
        }
    }
    if (beam) {
        Col c = feature_tint(s.beam, hash_ints(s.seed, x / 64, y / 64, 9), 0.9, 1.1, 0.04);
        double n = fbm(s.seed ^ 0xAB, x + 0.5, y + 0.5, 4, 16, kP, kP, 3);
        light = (n - 0.5) * 0.5;
        if (bcoord == 0) light += 0.3;
        else if (bcoord >= bwidth - 1) light -= 0.3;
        Rgb out = to_rgb(shade(c, light));
        return avoid_key(lift_dark(out, 44));
    }
    if (s.brick_infill) {
        BrickStyle b{Bond::Running, 16, 8, s.infill, col(190, 180, 160), 0.12, 0.0, s.seed ^ 0xB};
        return brick_texel(b, x, y);
    }
    PlasterStyle p{s.infill, 0.5, 0.0, s.seed ^ 0xC};
    // Plaster sits back from the timber: shadow along its top and left.
    Rgb c = plaster_style_texel(p, x, y);
    if (bx < 10 || by < 9) c = to_rgb(shade(from_rgb(c), -0.18));
    return c;
}

Rgb plaster_style_texel(const PlasterStyle& s, int x, int y) {
    const double px = x + 0.5, py = y + 0.5;
    double blot = fbm(s.seed, px, py, 4, 4, kP, kP, 4);
    double fine = value_noise(s.seed ^ 0x11, px, py, 64, 64, kP, kP);
    double light = (blot - 0.5) * 0.22 * s.blotch * 2.0 + (fine - 0.5) * 0.08;
    // Quantise the blotches into a few flat steps: pixel-art, not airbrush.
    light = std::floor(light * 12.0) / 12.0;
    if (pixel_hash(s.seed ^ 0x22, x, y, kP) < 0.012) light -= 0.25;
    // Hairline cracks along the ridges of a cell noise.
    CellHit c = cell_noise(s.seed ^ 0x33, px, py, 3, 3, kP, kP, 0.9);
    double crack_mask = value_noise(s.seed ^ 0x44, px, py, 4, 4, kP, kP);
    if (c.f2 - c.f1 < 0.9 && crack_mask > 0.62) light -= 0.3;
    Col out = shade(s.tint, light);
    if (s.worn > 0.0) {
        double worn = fbm(s.seed ^ 0x55, px, py, 4, 4, kP, kP, 4);
        if (worn > 1.0 - s.worn) {
            BrickStyle b{Bond::Running, 8, 4, col(150, 78, 58), col(170, 160, 145), 0.15, 0.0, s.seed ^ 0x66};
            return brick_texel(b, x, y);
        }
        if (worn > 1.0 - s.worn - 0.03) out = shade(out, -0.35);  // broken edge
        else if (worn > 1.0 - s.worn - 0.06) out = shade(out, 0.15);
    }
    return avoid_key(lift_dark(to_rgb(out), 44));
}

}  // namespace texgen
