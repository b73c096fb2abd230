#include "generators/world/world_hydrology.hpp"

#include "generators/world/world_lakes.hpp"
#include "generators/world/world_levels.hpp"
#include "generators/world/world_rivers.hpp"

#include <algorithm>

namespace {
// The world corner a patch corner stands on, or -1 outside the world.
int world_corner(const WorldHydrology& h, const WorldPatch& patch, int cx, int cy) {
    const int x = patch.x0 + cx, y = patch.y0 + cy;
    if (x < 0 || y < 0 || x > h.width || y > h.height) return -1;
    return y * (h.width + 1) + x;
}
}  // namespace

WorldHydrology world_hydrology(const WorldRequest& request) {
    WorldHydrology h;
    h.width = std::max(0, request.width), h.height = std::max(0, request.height);
    // Lakes come with the rivers that feed them: a world without rivers keeps its hollows.
    if (request.rivers <= 0) return h;
    // The whole world's corners, with the margin their levels depend on.
    const int margin = world_level_reach(request.levels);
    WorldPatch patch;
    patch.x0 = patch.y0 = -margin;
    patch.width = h.width + 1 + 2 * margin, patch.height = h.height + 1 + 2 * margin;
    // Which land it is does not change where water runs: no moisture.
    settle_world_patch(patch, request, false);
    fill_world_hollows(patch, margin, h);
    apply_world_lakes(h, patch);
    find_world_rises(patch, request);
    find_world_rivers(patch, margin, request, h);
    return h;
}

void apply_world_lakes(const WorldHydrology& h, WorldPatch& patch) {
    if (h.level.empty()) return;
    for (int cy = 0; cy < patch.height; ++cy)
        for (int cx = 0; cx < patch.width; ++cx) {
            const int c = world_corner(h, patch, cx, cy);
            if (c < 0) continue;
            const int at = patch.at(cx, cy);
            patch.level[at] = h.level[c];
            switch (h.lake[c]) {
                case WorldHydrology::bank: patch.terrain[at] = WorldTerrain::shore; break;
                case WorldHydrology::water: patch.terrain[at] = WorldTerrain::water; break;
                case WorldHydrology::deep: patch.terrain[at] = WorldTerrain::deep_water; break;
                default: break;
            }
        }
}

void cut_world_channels(const WorldHydrology& h, WorldPatch& patch) {
    const int cw = patch.width - 1, ch = patch.height - 1;
    patch.channel.assign(static_cast<std::size_t>(std::max(0, cw)) * std::max(0, ch), 0);
    for (const auto& [cell, channel] : h.channels) {
        const int x = cell % h.width - patch.x0, y = cell / h.width - patch.y0;
        if (x >= 0 && y >= 0 && x < cw && y < ch) patch.channel[patch.cell_at(x, y)] = channel;
    }
    // Rapids and falls are drawn on one ground: the corners of a river's
    // rising cells, and of the rising cells of its course that share them,
    // all take the lowest land among them, which the cells around then
    // meet as they meet any corner's terrain.
    for (bool changed = true; changed;) {
        changed = false;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const int cell = patch.cell_at(x, y);
                if (!patch.channel[cell] || !patch.rise[cell]) continue;
                const int at[4] = {patch.at(x, y), patch.at(x + 1, y), patch.at(x + 1, y + 1), patch.at(x, y + 1)};
                WorldTerrain low = WorldTerrain::snow;
                for (const int c : at)
                    if (!is_water(patch.terrain[c])) low = std::min(low, patch.terrain[c]);
                for (const int c : at)
                    if (!is_water(patch.terrain[c]) && patch.terrain[c] != low) patch.terrain[c] = low, changed = true;
            }
    }
}
