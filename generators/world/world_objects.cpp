// Where objects stand. Every rule reads only cells near the object's own
// (its front, the water around it, the forest's edge, the houses and
// mountains it keeps clear of), so a chunk places exactly the objects the
// whole world has on its cells.
#include "generators/world/world_objects.hpp"

#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_fields.hpp"
#include "generators/world/world_ground.hpp"
#include "generators/world/world_looks.hpp"
#include "generators/world/world_mountains.hpp"
#include "generators/world/world_palettes.hpp"
#include "generators/world/world_plants.hpp"

#include <algorithm>
#include <optional>

namespace {

constexpr int house_spacing = 7;  // cells between houses at the least
constexpr int clearing = 1;       // cells around a house or a mountain's footprint where nothing grows

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

// Houses: on flat grass or meadow near water, on a site whose draw beats
// every other site's within the spacing, so two houses are never closer.
class Houses {
public:
    Houses(const WorldGround& ground, std::uint64_t seed) : ground_(ground), seed_(seed) {}
    bool at(int x, int y) const {
        if (!site(x, y)) return false;
        const std::uint64_t mine = draw(x, y, 2);
        const int w = ground_.width(), h = ground_.height();
        for (int ny = std::max(0, y - house_spacing); ny <= std::min(h - 1, y + house_spacing); ++ny)
            for (int nx = std::max(0, x - house_spacing); nx <= std::min(w - 1, x + house_spacing); ++nx)
                if ((nx != x || ny != y) && draw(nx, ny, 2) > mine && site(nx, ny)) return false;
        return true;
    }

private:
    std::uint64_t draw(int x, int y, std::uint64_t salt) const {
        return world_cell_hash(seed_ ^ salt, ground_.patch().x0 + x, ground_.patch().y0 + y);
    }
    bool site(int x, int y) const {
        const CellFacts& f = ground_.at(x, y);
        return f.rise == 0 && f.settled && f.near_water && unit(draw(x, y, 1)) < 0.3 && ground_.may_stand(x, y);
    }
    const WorldGround& ground_;
    std::uint64_t seed_;
};

}  // namespace

int world_object_reach() {
    const int houses = house_spacing + WorldGround::front_reach + world_ground_reach();
    return 1 + clearing + std::max(houses, world_mountain_reach()) + 1;
}

std::vector<WorldObject> place_world_objects(const WorldPatch& patch, const WorldRequest& request,
                                             const WorldSettlementPlan& plan, int x0, int y0, int width, int height) {
    const WorldGround ground(patch);
    const WorldFields fields(request);
    const WorldPalette* palette = world_palette_named(request.palette);
    if (!palette) palette = &world_palettes().front();
    const std::uint64_t seed = mix_hash(request.seed ^ 0x6f626a73ULL);
    const Houses houses(ground, seed);

    // Houses and mountains, each found once: a cell's clearing reads its
    // neighbours'.
    const int w = ground.width(), h = ground.height();
    std::vector<signed char> house_memo(static_cast<std::size_t>(w) * h, -1);
    std::vector<signed char> mountain_memo(house_memo.size(), -1);
    std::vector<WorldObject> mountains(house_memo.size());
    // A settled world's houses and roads on the patch's cells: 0, 1 a
    // road, 2 a house; its doors by cell.
    const bool settled = request.settlements > 0;
    std::vector<std::uint8_t> settled_cells(settled ? house_memo.size() : 0, 0);
    std::vector<std::uint8_t> doors(settled_cells.size(), 0);
    const auto mark = [&](int world_cell, std::uint8_t what, std::uint8_t door) {
        const int x = world_cell % request.width - patch.x0, y = world_cell / request.width - patch.y0;
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        settled_cells[static_cast<std::size_t>(y) * w + x] = what;
        doors[static_cast<std::size_t>(y) * w + x] = door;
    };
    if (settled) {
        for (const auto& [cell, track] : plan.tracks) mark(cell, 1, 0);
        for (const auto& [cell, door] : plan.houses) mark(cell, 2, door);
    }
    const auto road_at = [&](int x, int y) {
        return settled && settled_cells[static_cast<std::size_t>(y) * w + x] == 1;
    };
    const auto house_at = [&](int x, int y) {
        if (settled) return settled_cells[static_cast<std::size_t>(y) * w + x] == 2;
        signed char& known = house_memo[static_cast<std::size_t>(y) * w + x];
        if (known < 0) known = houses.at(x, y);
        return known != 0;
    };
    const auto any_within = [&](int x, int y, int reach, auto&& what) {
        for (int ny = std::max(0, y - reach); ny <= std::min(h - 1, y + reach); ++ny)
            for (int nx = std::max(0, x - reach); nx <= std::min(w - 1, x + reach); ++nx)
                if (what(nx, ny)) return true;
        return false;
    };
    // A mountain keeps clear of houses; trees, bushes and boulders of both.
    const auto mountain_at = [&](int x, int y) {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        if (mountain_memo[i] < 0) {
            const std::optional<WorldObject> m = world_mountain_at(ground, seed, x, y);
            mountain_memo[i] = m && !any_within(x, y, 1 + clearing, house_at) && !any_within(x, y, 1 + clearing, road_at);
            if (mountain_memo[i]) mountains[i] = *m;
        }
        return mountain_memo[i] != 0;
    };

    const Planting planting{ground, fields, request.thresholds, palette->objects, seed};
    std::vector<WorldObject> objects;
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) {
            if (house_at(x, y)) {
                WorldObject o;
                o.kind = WorldObjectKind::house;
                o.x = patch.x0 + x, o.y = patch.y0 + y, o.level = ground.at(x, y).low;
                o.look = world_look(o.kind, WorldLookVariety::plain, 0, world_cell_hash(seed ^ 4, o.x, o.y));
                if (settled) o.door = doors[static_cast<std::size_t>(y) * w + x];
                objects.push_back(o);
                continue;
            }
            // A crag on this cell; the slices of the mountains whose footprint it fronts.
            if (mountain_at(x, y) && mountains[static_cast<std::size_t>(y) * w + x].slice < 0) {
                WorldObject o = mountains[static_cast<std::size_t>(y) * w + x];
                o.at_x = o.at_y = 128;
                objects.push_back(o);
            }
            bool in_footprint = false;
            for (int k = 0; k < static_cast<int>(world_mountain_slices.size()); ++k) {
                const MountainSlice& s = world_mountain_slices[static_cast<std::size_t>(k)];
                const int mx = x - s.dx, my = y - s.dy;
                if (mx < 0 || my < 0 || mx >= w || my >= h || !mountain_at(mx, my)) continue;
                WorldObject o = mountains[static_cast<std::size_t>(my) * w + mx];
                if (o.slice < 0 || world_mountain_slices[static_cast<std::size_t>(o.slice)].small != s.small) continue;
                // The foot: a large mountain's on its cell's middle, a small one's on its top corner.
                const int foot = s.small ? 0 : 128;
                o.x = patch.x0 + x, o.y = patch.y0 + y, o.slice = k;
                o.at_x = static_cast<std::int16_t>(foot - 256 * s.dx),
                o.at_y = static_cast<std::int16_t>(foot - 256 * s.dy);
                objects.push_back(o);
            }
            for (int my = std::max(0, y - 1); my <= std::min(h - 1, y + 1) && !in_footprint; ++my)
                for (int mx = std::max(0, x - 1); mx <= std::min(w - 1, x + 1) && !in_footprint; ++mx)
                    in_footprint =
                        mountain_at(mx, my) &&
                        world_mountain_covers(mountains[static_cast<std::size_t>(my) * w + mx], mx, my, x, y);
            if (!in_footprint && !road_at(x, y) && !any_within(x, y, clearing, house_at))
                plant_cell(planting, x, y, objects);
        }
    return objects;
}
