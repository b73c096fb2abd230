// A chunk of the world: grown on a patch wide enough around it that every
// value it keeps is the whole world's, then cut out.
#include "generators/world/world_map.hpp"

#include "generators/world/world_cell_hash.hpp"
#include "generators/world/world_hydrology.hpp"
#include "generators/world/world_levels.hpp"
#include "generators/world/world_objects.hpp"
#include "generators/world/world_settlements.hpp"

#include <algorithm>

WorldMap build_world_map(const WorldRequest& request, int x0, int y0, int width, int height) {
    WorldMap map;
    map.x0 = x0, map.y0 = y0, map.width = std::max(0, width), map.height = std::max(0, height);
    map.levels = request.levels;
    const int margin = world_level_reach(request.levels) + world_object_reach();
    WorldPatch patch;
    patch.x0 = x0 - margin, patch.y0 = y0 - margin;
    patch.width = map.width + 1 + 2 * margin, patch.height = map.height + 1 + 2 * margin;
    // The rivers and lakes are the whole world's; the chunk takes its part.
    const WorldHydrology hydrology = world_hydrology(request);
    // So are the settlements and the roads between them.
    const WorldSettlementPlan plan = world_settlements(request, hydrology);
    settle_world_patch(patch, request);
    apply_world_lakes(hydrology, patch);
    find_world_rises(patch, request);
    cut_world_channels(hydrology, patch);

    map.corners.resize(static_cast<std::size_t>(map.width + 1) * (map.height + 1));
    for (int cy = 0; cy <= map.height; ++cy)
        for (int cx = 0; cx <= map.width; ++cx) {
            const int i = patch.at(cx + margin, cy + margin);
            map.corners[cy * (map.width + 1) + cx] = {patch.terrain[i], patch.level[i]};
        }
    const auto cells = static_cast<std::size_t>(map.width) * map.height;
    map.rises.resize(cells);
    map.channels.resize(cells);
    map.variants.resize(cells);
    const std::uint64_t variant_seed = mix_hash(request.seed ^ 0x76617269ULL);
    const auto variants = static_cast<std::uint64_t>(std::clamp(request.variants, 1, 256));
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            map.rises[y * map.width + x] = patch.rise[patch.cell_at(x + margin, y + margin)];
            map.channels[y * map.width + x] = patch.channel[patch.cell_at(x + margin, y + margin)];
            map.variants[y * map.width + x] =
                static_cast<std::uint8_t>(world_cell_hash(variant_seed, x0 + x, y0 + y) % variants);
        }
    map.tracks.resize(cells);
    for (const auto& [cell, track] : plan.tracks) {
        const int x = cell % request.width - x0, y = cell / request.width - y0;
        if (x >= 0 && y >= 0 && x < map.width && y < map.height) map.tracks[y * map.width + x] = track;
    }
    map.objects = place_world_objects(patch, request, plan, margin, margin, map.width, map.height);
    map.settlements = plan.settlements;
    map.roads = plan.roads;
    map.rivers = hydrology.rivers;
    map.lakes = hydrology.lakes;
    return map;
}

const char* world_terrain_name(WorldTerrain terrain) {
    static const char* const names[world_terrain_count] = {"deep_water", "water",  "shore", "meadow",
                                                           "grass",      "forest", "rock",  "snow"};
    return names[static_cast<int>(terrain)];
}

const char* world_object_name(WorldObjectKind kind) {
    static const char* const names[] = {"tree", "house", "boulder", "bush", "mountain"};
    return names[static_cast<int>(kind)];
}
