#include "generators/world/world_plants.hpp"

#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_looks.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

double smoothstep(double from, double to, double x) {
    if (to <= from) return x >= to ? 1.0 : 0.0;
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Thickets and glades: value noise over a lattice a few cells across, so
// neighbouring cells grow alike and a forest is not one even stand.
constexpr int clump_cells = 5;
double clumping(std::uint64_t seed, std::int64_t wx, std::int64_t wy) {
    const auto lattice_below = [](std::int64_t v) {
        return v >= 0 ? v / clump_cells : -((-v + clump_cells - 1) / clump_cells);
    };
    const std::int64_t gx = lattice_below(wx), gy = lattice_below(wy);
    const double tx = (static_cast<double>(wx - gx * clump_cells) + 0.5) / clump_cells;
    const double ty = (static_cast<double>(wy - gy * clump_cells) + 0.5) / clump_cells;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const auto at = [&](std::int64_t x, std::int64_t y) { return unit(world_cell_hash(seed, x, y)); };
    const double top = at(gx, gy) + (at(gx + 1, gy) - at(gx, gy)) * sx;
    const double bottom = at(gx, gy + 1) + (at(gx + 1, gy + 1) - at(gx, gy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// A cell's stands lie on a 3 x 3 lattice, each moved up to stand_jitter
// of the cell either way. Broadleaf crowns are wide, so fewer of the
// stands carry one than carry a narrow conifer.
constexpr int stands_across = 3;
constexpr double stand_jitter = 0.12;
constexpr double broadleaf_stands = 0.55, conifer_stands = 0.85;

// How likely each stand of a cell is to hold a tree, a bush and a boulder.
struct Chances {
    double tree = 0, bush = 0, boulder = 0;
    int sizes_from = 0;  // the smallest tree size that grows here
};

Chances chances(const CellFacts& f) {
    const auto terrain = static_cast<WorldTerrain>(std::max(0, f.terrain));
    const bool land = f.terrain < 0 || terrain == WorldTerrain::grass || terrain == WorldTerrain::meadow ||
                      terrain == WorldTerrain::forest;
    if (f.forest_depth > 0 || (f.forest_distance == 0 && land)) {
        // In the forest, from its edge (depth 0: a corner outside) inwards.
        constexpr std::array<double, 4> trees = {0.55, 0.8, 0.92, 0.97};
        return {trees[static_cast<std::size_t>(f.forest_depth)], 0.22, 0.012, f.forest_depth >= 2 ? 1 : 0};
    }
    switch (terrain) {
        case WorldTerrain::grass: {
            // The forest's fringe, then lone trees.
            constexpr std::array<double, 4> fringe = {0.0, 0.16, 0.06, 0.025};
            return {std::max(0.012, fringe[static_cast<std::size_t>(f.forest_distance)]), 0.03, 0.003, 0};
        }
        case WorldTerrain::meadow: return {0.004, 0.035, 0.008, 1};
        case WorldTerrain::rock: return {0.0, 0.0, 0.05, 0};
        default: return {};
    }
}

}  // namespace

void plant_cell(const Planting& p, int x, int y, std::vector<WorldObject>& out) {
    const WorldGround& ground = p.ground;
    if (!ground.may_stand(x, y)) return;
    const CellFacts& f = ground.at(x, y);
    const std::int64_t wx = ground.patch().x0 + x, wy = ground.patch().y0 + y;
    const Chances c = chances(f);
    if (c.tree + c.bush + c.boulder <= 0) return;
    const double clump = 0.6 + 0.55 * clumping(p.seed ^ 0x636c756dULL, wx, wy);
    const double tree = std::min(0.97, c.tree * clump * p.palette.trees);
    // Bushes and boulders as often a cell as on the old lattice of five.
    const double bush = c.bush * p.palette.bushes * 5 / 9, boulder = c.boulder * p.palette.rocks * 5 / 9;
    // Conifers uphill: the elevation's share of the way from the shore to the rock.
    const WorldThresholds& t = p.thresholds;
    const double height =
        (p.fields.elevation(static_cast<int>(wx), static_cast<int>(wy)) - t.shore) / std::max(1e-6, t.rock - t.shore);
    const double conifers = smoothstep(p.palette.conifers_from, p.palette.conifers_to, height);

    for (int k = 0; k < stands_across * stands_across; ++k) {
        const std::uint64_t h = world_cell_hash(p.seed ^ (0x706c616e74ULL + static_cast<std::uint64_t>(k)), wx, wy);
        const std::uint64_t h2 = mix_hash(h);
        const bool conifer = unit(mix_hash(h2)) < conifers;
        const double here = tree * (conifer ? conifer_stands : broadleaf_stands), roll = unit(h);
        WorldObject o;
        if (roll < here) o.kind = WorldObjectKind::tree;
        else if (roll < here + bush) o.kind = WorldObjectKind::bush;
        else if (roll < here + bush + boulder) o.kind = WorldObjectKind::boulder;
        else continue;
        const auto place = [](double middle, std::uint64_t bits) {
            const double jitter = (static_cast<double>(bits & 1023) / 1023.0 - 0.5) * 2 * stand_jitter;
            return static_cast<std::int16_t>(std::lround((middle + jitter) * 256.0));
        };
        o.x = static_cast<int>(wx), o.y = static_cast<int>(wy), o.level = f.low;
        o.at_x = place((k % stands_across * 2 + 1) / (2.0 * stands_across), h2);
        o.at_y = place((k / stands_across * 2 + 1) / (2.0 * stands_across), h2 >> 10);
        const std::uint64_t pick = h2 >> 20;
        if (o.kind == WorldObjectKind::tree) {
            const int size = c.sizes_from + static_cast<int>(pick % 3);
            o.look = world_look(o.kind, conifer ? WorldLookVariety::conifer : WorldLookVariety::plain, size, pick >> 4);
        } else {
            o.look = world_look(o.kind, WorldLookVariety::plain, 0, pick);
        }
        out.push_back(o);
    }
}
