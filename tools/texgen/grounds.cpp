// Ground-sheet row 4: ten bare grounds.
#include "material.hpp"
#include "recipes.hpp"
#include "terrain_common.hpp"

#include <array>
#include <cmath>

namespace texgen {
namespace {

enum class GroundKind { Sand, Cobbles, Earth, Gravel, Flagstones, Mud, Path, Clay, Forest, Snow };

struct GroundStyle {
    GroundKind kind;
    Col colour;
    Col joint;  // between stones, or the second colour of the ground
    int cells;  // stones, pebbles or cracks across the tile
    std::uint64_t seed;
};

const std::array<GroundStyle, 10> kGrounds = {{
    {GroundKind::Sand, col(220, 192, 132), col(190, 156, 100), 3, 1101},
    {GroundKind::Cobbles, col(140, 136, 128), col(70, 64, 56), 5, 1102},
    {GroundKind::Earth, col(122, 88, 56), col(92, 64, 40), 4, 1103},
    {GroundKind::Gravel, col(156, 150, 140), col(112, 104, 96), 9, 1104},
    {GroundKind::Flagstones, col(168, 156, 136), col(84, 96, 60), 3, 1105},
    {GroundKind::Mud, col(96, 76, 54), col(86, 100, 110), 3, 1106},
    {GroundKind::Path, col(160, 130, 92), col(86, 110, 50), 4, 1107},
    {GroundKind::Clay, col(188, 110, 70), col(120, 64, 40), 4, 1108},
    {GroundKind::Forest, col(92, 66, 40), col(150, 100, 40), 8, 1109},
    {GroundKind::Snow, col(226, 232, 240), col(170, 186, 210), 3, 1110},
}};

// Stones laid in a bed: lit from the top left, dark joints between.
Col stones(const GroundStyle& s, int x, int y, double jitter, double joint, double round) {
    CellHit c = cell_noise(s.seed, x + 0.5, y + 0.5, s.cells, s.cells, kCell, kCell, jitter);
    double edge = c.f2 - c.f1;
    if (edge < joint) return shade(s.joint, -0.1 + (tile_fbm(s.seed ^ 1, x, y, 4, 2) - 0.5) * 0.3);
    Col t = feature_tint(s.colour, c.id, 0.8, 1.15, 0.08);
    double r = 0.5 * kCell / s.cells;
    double light = (c.dx + c.dy) / r * 0.25 * round;  // point is down-right: pixel is up-left
    if (edge < joint + 1.5) light -= c.dy < 0 ? 0.35 : -0.1;
    return shade(t, steps(light, 4.0));
}

Col ground_colour(const GroundStyle& s, int x, int y) {
    switch (s.kind) {
        case GroundKind::Sand: {
            // Wind ripples, about 8 pixels apart and bent by noise.
            double warp = tile_fbm(s.seed, x, y, 2, 2) * 2.0;
            double ripple = tile_wave(x, y, 1, 8, 64, warp);
            double light = ripple > 0.6 ? 0.22 : (ripple < -0.7 ? -0.28 : 0.0);
            light += (tile_fbm(s.seed ^ 2, x, y, 4, 2) - 0.5) * 0.3;
            return shade(s.colour, steps(light, 5.0));
        }
        case GroundKind::Cobbles: return stones(s, x, y, 0.7, 2.5, 1.0);
        case GroundKind::Gravel: return stones(s, x, y, 0.9, 0.8, 1.6);
        case GroundKind::Flagstones: {
            Col c = stones(s, x, y, 0.5, 2.2, 0.3);
            return c;
        }
        case GroundKind::Earth: {
            double n = tile_fbm(s.seed, x, y, s.cells, 3);
            double clods = tile_fbm(s.seed ^ 3, x, y, 8, 2);
            Col c = mix(s.joint, s.colour, n);
            double light = (clods - 0.5) * 0.8;
            if (pixel_hash(s.seed, wrap(x, kCell) / 2, wrap(y, kCell) / 2, 32) < 0.04) light += 0.3;  // grit
            return shade(c, steps(light, 5.0));
        }
        case GroundKind::Mud: {
            double n = tile_fbm(s.seed, x, y, s.cells, 4);
            if (n > 0.62) {
                // Puddle: sky reflection with a dark rim.
                Col w = mix(s.joint, col(150, 170, 180), (n - 0.62) * 3.0);
                return n < 0.645 ? shade(s.colour, -0.45) : w;
            }
            double light = (tile_fbm(s.seed ^ 4, x, y, 8, 2) - 0.5) * 0.6 + (n - 0.4) * 0.5;
            return shade(s.colour, steps(light, 5.0));
        }
        case GroundKind::Path: {
            // A worn track across the tile with grass along both edges.
            double bend = (tile_fbm(s.seed, x, 0, 2, 2) - 0.5) * 20.0;
            double along = wrap(y - x, kCell);
            double d = std::fabs(wrapd(along + bend, 64.0) - 32.0);
            double light = (tile_fbm(s.seed ^ 5, x, y, 8, 2) - 0.5) * 0.5;
            if (d > 20.0 - 6.0 * tile_fbm(s.seed ^ 6, x, y, 8, 2))
                return shade(s.joint, steps(light + (d > 24 ? 0.1 : -0.2), 4.0));
            if (std::fabs(d - 9.0) < 2.0) light -= 0.25;  // wheel ruts
            return shade(s.colour, steps(light, 5.0));
        }
        case GroundKind::Clay: {
            CellHit c = cell_noise(s.seed, x + 0.5, y + 0.5, s.cells, s.cells, kCell, kCell, 0.9);
            double edge = c.f2 - c.f1;
            if (edge < 2.2) return shade(s.joint, -0.2);
            double light = c.dy < 0 && edge < 4.0 ? -0.2 : 0.0;  // curled edges cast shade
            if (c.dy > 0 && edge < 4.0) light += 0.2;
            light += (sub_unit(c.id, 1) - 0.5) * 0.25;
            return shade(s.colour, steps(light, 5.0));
        }
        case GroundKind::Forest: {
            // Leaf litter: overlapping blobs of leaf colours on dark soil.
            CellHit c = cell_noise(s.seed, x + 0.5, y + 0.5, s.cells, s.cells, kCell, kCell, 1.0);
            double size = 0.35 * kCell / s.cells + 2.0 * sub_unit(c.id, 2);
            if (c.f1 < size) {
                static const Col leaves[4] = {col(168, 110, 40), col(190, 140, 56), col(130, 70, 36),
                                              col(110, 120, 50)};
                Col l = leaves[c.id % 4];
                double light = -c.dy / size * 0.3;
                return shade(l, steps(light, 4.0));
            }
            double light = (tile_fbm(s.seed ^ 7, x, y, 8, 2) - 0.5) * 0.5;
            return shade(s.colour, steps(light - 0.1, 5.0));
        }
        case GroundKind::Snow: {
            double n = tile_fbm(s.seed, x, y, s.cells, 4);
            double drift = tile_wave(x, y, 2, 1, 64, n * 0.75);
            Col c = mix(s.joint, s.colour, 0.5 + 0.5 * drift);
            double light = (n - 0.5) * 0.3;
            return shade(c, steps(light, 5.0));
        }
    }
    return s.colour;
}

}  // namespace

Rgb ground_texel(int index, int x, int y) {
    return ground_pixel(ground_colour(kGrounds[static_cast<std::size_t>(index)], x, y));
}

}  // namespace texgen
