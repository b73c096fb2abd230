#include "generators/world/world_layout.hpp"

#include "generators/slope/slope_set.hpp"
#include "generators/world/world_river_layout.hpp"
#include "generators/world/world_road_layout.hpp"
#include "generators/world/world_levels.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace {

// A tile key packed so that packed order is the keys' order.
int pack(WorldTileKey::Kind kind, int terrain, int mask, int variant, int ground = 15) {
    return static_cast<int>(kind) << 19 | terrain << 16 | mask << 12 | variant << 4 | ground;
}
WorldTileKey unpack(int packed) {
    WorldTileKey key;
    key.kind = static_cast<WorldTileKey::Kind>(packed >> 19);
    key.terrain = static_cast<WorldTerrain>(packed >> 16 & 7);
    key.mask = static_cast<std::uint8_t>(packed >> 12 & 15);
    key.variant = static_cast<std::uint8_t>(packed >> 4 & 255);
    key.ground = static_cast<std::uint8_t>(packed & 15);
    return key;
}

}  // namespace

WorldLayout lay_out_world(const WorldMap& map) {
    const int w = map.width, h = map.height;
    int top_level = 0;
    for (const WorldCorner& c : map.corners) top_level = std::max<int>(top_level, c.level);
    // Each layer holds packed keys (or -1) until the tiles are numbered.
    std::vector<std::vector<int>> layers(static_cast<std::size_t>(top_level + 1) * world_terrain_count);
    std::vector<int> used;
    auto put = [&](int layer, int cell, int packed) {
        std::vector<int>& cells = layers[layer];
        if (cells.empty()) cells.assign(static_cast<std::size_t>(w) * h, -1);
        cells[cell] = packed;
        used.push_back(packed);
    };

    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Top, right, bottom and left: the transition sets' corner bits 1, 2, 4, 8.
            const std::array<const WorldCorner*, 4> corners = {&map.corner(x, y), &map.corner(x + 1, y),
                                                               &map.corner(x + 1, y + 1), &map.corner(x, y + 1)};
            const int cell = y * w + x, variant = map.variant(x, y);
            int low_level = corners[0]->level, low = 7, high = 0;
            for (const WorldCorner* c : corners) {
                low_level = std::min<int>(low_level, c->level);
                low = std::min(low, static_cast<int>(c->terrain));
                high = std::max(high, static_cast<int>(c->terrain));
            }
            const int base = low_level * world_terrain_count;
            // The corners at or above terrain t.
            const auto terrain_mask = [&](int t) {
                int mask = 0;
                for (int k = 0; k < 4; ++k)
                    if (static_cast<int>(corners[k]->terrain) >= t) mask |= 1 << k;
                return mask;
            };
            if (const int rise = map.rise(x, y); rise != 0) {
                if (map.channel(x, y)) continue;  // rapids or a fall, on the river layer
                int heights = 0;
                for (int k = 0; k < 4; ++k)
                    if (corners[k]->level > low_level) heights |= 1 << k;
                const auto kind = rise == 1 ? WorldTileKey::Kind::slope : WorldTileKey::Kind::cliff;
                for (int t = low; t <= high; ++t) put(base + t, cell, pack(kind, t, heights, variant, terrain_mask(t)));
                continue;
            }
            put(base + low, cell, pack(WorldTileKey::Kind::fill, low, 0, variant));
            for (int t = low + 1; t <= high; ++t)
                put(base + t, cell, pack(WorldTileKey::Kind::over, t, terrain_mask(t), variant));
        }

    WorldLayout layout;
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (const int packed : used) layout.tiles.push_back(unpack(packed));
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (layers[i].empty()) continue;
        WorldLayer layer;
        layer.level = static_cast<int>(i) / world_terrain_count;
        layer.name = "level" + std::to_string(layer.level) + "_" +
                     world_terrain_name(static_cast<WorldTerrain>(i % world_terrain_count));
        layer.cells = std::move(layers[i]);
        for (int& c : layer.cells)
            if (c >= 0) c = static_cast<int>(std::lower_bound(used.begin(), used.end(), c) - used.begin());
        layout.layers.push_back(std::move(layer));
    }
    lay_out_world_rivers(map, layout);
    lay_out_world_roads(map, layout);
    return layout;
}

int world_rise_step(WorldTileKey::Kind rise, int iso_width) {
    return rise == WorldTileKey::Kind::cliff ? largest_slope_step(iso_width) : default_slope_step(iso_width);
}

int world_level_rise(int level, int levels, int iso_width) {
    const int slopes = std::min(level, world_first_cliff(levels));
    return slopes * world_rise_step(WorldTileKey::Kind::slope, iso_width) +
           (level - slopes) * world_rise_step(WorldTileKey::Kind::cliff, iso_width);
}

void add_world_overlay(WorldLayout& layout, const std::vector<std::vector<std::pair<int, WorldTileKey>>>& placed,
                       const std::string& name, std::size_t cells) {
    std::map<WorldTileKey, int> keys;
    for (const auto& level : placed)
        for (const auto& [cell, key] : level) keys.emplace(key, 0);
    if (keys.empty()) return;
    int next = static_cast<int>(layout.tiles.size());
    for (auto& [key, index] : keys) {
        index = next++;
        layout.tiles.push_back(key);
    }
    for (int level = static_cast<int>(placed.size()) - 1; level >= 0; --level) {
        if (placed[static_cast<std::size_t>(level)].empty()) continue;
        WorldLayer layer;
        layer.name = "level" + std::to_string(level) + "_" + name;
        layer.level = level;
        layer.cells.assign(cells, -1);
        for (const auto& [cell, key] : placed[static_cast<std::size_t>(level)])
            layer.cells[static_cast<std::size_t>(cell)] = keys.at(key);
        // After the level's own layers, before the next level's.
        const auto after = std::find_if(layout.layers.begin(), layout.layers.end(),
                                        [&](const WorldLayer& l) { return l.level > level; });
        layout.layers.insert(after, std::move(layer));
    }
}
