// Where objects stand. Every rule reads only cells near the object's own
// (its front, the water around it, the houses it keeps apart from), so a
// chunk places exactly the objects the whole world has on its cells.
#include "generators/world/world_objects.hpp"

#include "generators/world/world_cell_hash.hpp"

#include <algorithm>
#include <array>

namespace {

// Cells in front of a cell on screen, and the row beyond: a higher one there
// would hide the object's foot or hang its face over the object.
constexpr std::array<std::array<int, 2>, 8> front_cells = {
    {{1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}, {1, 2}, {0, 2}, {2, 2}}};
constexpr int front_reach = 2;
constexpr int house_water_reach = 4;  // corners from the house's cell to the water
constexpr int house_spacing = 7;      // cells between houses at the least

// How likely each terrain's cells are to carry each object.
struct Planting {
    double trees, bushes, boulders;
};
Planting planting(WorldTerrain terrain) {
    switch (terrain) {
        case WorldTerrain::forest: return {0.85, 0.04, 0.0};
        case WorldTerrain::grass: return {0.05, 0.03, 0.0};
        case WorldTerrain::meadow: return {0.0, 0.07, 0.02};
        case WorldTerrain::rock: return {0.0, 0.0, 0.11};
        default: return {0.0, 0.0, 0.0};
    }
}

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

struct CellFacts {
    int flat_level = -1;   // -1: the cell rises
    int top = 0;           // its highest corner's level
    bool wet = false;      // a corner is water
    bool settled = false;  // all four corners grass or meadow
    bool near_water = false;
    int terrain = -1;  // the terrain of three corners or more, -1 if none
};

std::vector<CellFacts> cell_facts(const WorldPatch& patch) {
    const int w = patch.width, h = patch.height;
    // Corners within house_water_reach of water, by a separable dilation.
    std::vector<std::uint8_t> wet(static_cast<std::size_t>(w) * h), rows(wet.size()), near(wet.size());
    for (std::size_t i = 0; i < wet.size(); ++i) wet[i] = is_water(patch.terrain[i]);
    // A river's cell is water too: nothing stands on it, and houses like it near.
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x)
            if (patch.channel[patch.cell_at(x, y)])
                wet[patch.at(x, y)] = wet[patch.at(x + 1, y)] = wet[patch.at(x + 1, y + 1)] = wet[patch.at(x, y + 1)] = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t any = 0;
            for (int dx = std::max(0, x - house_water_reach); dx <= std::min(w - 1, x + house_water_reach); ++dx)
                any |= wet[patch.at(dx, y)];
            rows[patch.at(x, y)] = any;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t any = 0;
            for (int dy = std::max(0, y - house_water_reach); dy <= std::min(h - 1, y + house_water_reach); ++dy)
                any |= rows[patch.at(x, dy)];
            near[patch.at(x, y)] = any;
        }
    std::vector<CellFacts> facts(static_cast<std::size_t>(w - 1) * (h - 1));
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const std::array<int, 4> at = {patch.at(x, y), patch.at(x + 1, y), patch.at(x + 1, y + 1),
                                           patch.at(x, y + 1)};
            CellFacts& f = facts[patch.cell_at(x, y)];
            std::array<int, world_terrain_count> count{};
            f.settled = true;
            for (const int i : at) {
                const WorldTerrain t = patch.terrain[i];
                ++count[static_cast<int>(t)];
                f.top = std::max<int>(f.top, patch.level[i]);
                f.wet |= is_water(t);
                f.settled &= t == WorldTerrain::grass || t == WorldTerrain::meadow;
                f.near_water |= near[i] != 0;
            }
            if (patch.rise[patch.cell_at(x, y)] == 0) f.flat_level = patch.level[at[0]];
            f.wet |= patch.channel[patch.cell_at(x, y)] != 0;
            for (int t = 0; t < world_terrain_count; ++t)
                if (count[t] >= 3) f.terrain = t;
        }
    return facts;
}

}  // namespace

int world_object_reach() { return house_spacing + std::max(house_water_reach, front_reach + 1) + 1; }

std::vector<WorldObject> place_world_objects(const WorldPatch& patch, const WorldRequest& request, int x0, int y0,
                                             int width, int height) {
    const int cw = patch.width - 1, ch = patch.height - 1;
    const std::vector<CellFacts> facts = cell_facts(patch);
    const std::uint64_t seed = mix_hash(request.seed ^ 0x6f626a73ULL);
    auto cell_hash = [&](int x, int y, std::uint64_t salt) {
        return world_cell_hash(seed ^ salt, patch.x0 + x, patch.y0 + y);
    };
    auto may_stand = [&](int x, int y) {
        const CellFacts& f = facts[patch.cell_at(x, y)];
        if (f.flat_level < 0 || f.wet) return false;
        for (const auto& [dx, dy] : front_cells) {
            const int fx = x + dx, fy = y + dy;
            if (fx < cw && fy < ch && facts[patch.cell_at(fx, fy)].top > f.flat_level) return false;
        }
        return true;
    };
    auto house_site = [&](int x, int y) {
        const CellFacts& f = facts[patch.cell_at(x, y)];
        return f.settled && f.near_water && unit(cell_hash(x, y, 1)) < 0.3 && may_stand(x, y);
    };
    // A house stands on a site whose draw beats every other site's within
    // the spacing, so two houses are never closer.
    auto house_at = [&](int x, int y) {
        if (!house_site(x, y)) return false;
        const std::uint64_t mine = cell_hash(x, y, 2);
        for (int ny = std::max(0, y - house_spacing); ny <= std::min(ch - 1, y + house_spacing); ++ny)
            for (int nx = std::max(0, x - house_spacing); nx <= std::min(cw - 1, x + house_spacing); ++nx)
                if ((nx != x || ny != y) && cell_hash(nx, ny, 2) > mine && house_site(nx, ny)) return false;
        return true;
    };

    std::vector<WorldObject> objects;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) {
            if (!may_stand(x, y)) continue;
            const CellFacts& f = facts[patch.cell_at(x, y)];
            WorldObject object;
            object.x = patch.x0 + x, object.y = patch.y0 + y, object.level = f.flat_level;
            if (house_at(x, y)) {
                object.kind = WorldObjectKind::house;
            } else {
                if (f.terrain < 0) continue;
                const Planting p = planting(static_cast<WorldTerrain>(f.terrain));
                const double u = unit(cell_hash(x, y, 3));
                if (u < p.trees) object.kind = WorldObjectKind::tree;
                else if (u < p.trees + p.bushes) object.kind = WorldObjectKind::bush;
                else if (u < p.trees + p.bushes + p.boulders) object.kind = WorldObjectKind::boulder;
                else continue;
            }
            object.look =
                static_cast<int>(cell_hash(x, y, 4) % static_cast<std::uint64_t>(world_object_looks(object.kind)));
            objects.push_back(object);
        }
    return objects;
}
