#include "generators/world/world_layout.hpp"

#include "generators/slope/slope_set.hpp"

#include <algorithm>
#include <array>
#include <string>

namespace {

// A tile key packed so that packed order is the keys' order.
constexpr int key_space = 4 << 15;
int pack(WorldTileKey::Kind kind, int terrain, int mask, int variant) {
    return static_cast<int>(kind) << 15 | terrain << 12 | mask << 8 | variant;
}
WorldTileKey unpack(int packed) {
    WorldTileKey key;
    key.kind = static_cast<WorldTileKey::Kind>(packed >> 15);
    key.terrain = static_cast<WorldTerrain>(packed >> 12 & 7);
    key.mask = static_cast<std::uint8_t>(packed >> 8 & 15);
    key.variant = static_cast<std::uint8_t>(packed & 255);
    return key;
}

// Layers per level: one a terrain, then the slopes and cliffs.
constexpr int layers_per_level = world_terrain_count + 1;
constexpr int slope_layer = world_terrain_count;

}  // namespace

WorldLayout lay_out_world(const WorldMap& map) {
    const int w = map.width, h = map.height;
    int top_level = 0;
    for (const WorldCorner& c : map.corners) top_level = std::max<int>(top_level, c.level);
    // Each layer holds packed keys (or -1) until the tiles are numbered.
    std::vector<std::vector<int>> layers(static_cast<std::size_t>(top_level + 1) * layers_per_level);
    std::vector<char> used(key_space, 0);
    auto put = [&](int layer, int cell, int packed) {
        std::vector<int>& cells = layers[layer];
        if (cells.empty()) cells.assign(static_cast<std::size_t>(w) * h, -1);
        cells[cell] = packed;
        used[packed] = 1;
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
            const int base = low_level * layers_per_level;
            if (const int rise = map.rise(x, y); rise != 0) {
                int mask = 0;
                for (int k = 0; k < 4; ++k)
                    if (corners[k]->level > low_level) mask |= 1 << k;
                const auto kind = rise == 1 ? WorldTileKey::Kind::slope : WorldTileKey::Kind::cliff;
                put(base + slope_layer, cell, pack(kind, static_cast<int>(corners[0]->terrain), mask, variant));
                continue;
            }
            put(base + low, cell, pack(WorldTileKey::Kind::fill, low, 0, variant));
            for (int t = low + 1; t <= high; ++t) {
                int mask = 0;
                for (int k = 0; k < 4; ++k)
                    if (static_cast<int>(corners[k]->terrain) >= t) mask |= 1 << k;
                put(base + t, cell, pack(WorldTileKey::Kind::over, t, mask, variant));
            }
        }

    WorldLayout layout;
    std::vector<int> index(key_space, -1);
    for (int packed = 0; packed < key_space; ++packed)
        if (used[packed]) {
            index[packed] = static_cast<int>(layout.tiles.size());
            layout.tiles.push_back(unpack(packed));
        }
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (layers[i].empty()) continue;
        const int level = static_cast<int>(i) / layers_per_level, kind = static_cast<int>(i) % layers_per_level;
        WorldLayer layer;
        layer.level = level;
        layer.name = "level" + std::to_string(level) + "_" +
                     (kind == slope_layer ? "slopes" : world_terrain_name(static_cast<WorldTerrain>(kind)));
        layer.cells = std::move(layers[i]);
        for (int& c : layer.cells)
            if (c >= 0) c = index[c];
        layout.layers.push_back(std::move(layer));
    }
    return layout;
}

int world_level_rise(int level, int iso_width) { return level * default_slope_step(iso_width); }
