#include "generators/world/world_river_layout.hpp"

#include <algorithm>
#include <array>
#include <map>

void lay_out_world_rivers(const WorldMap& map, WorldLayout& layout) {
    const int w = map.width, h = map.height;
    std::map<WorldTileKey, int> keys;
    std::vector<std::vector<WorldTileKey>> placed;  // by level: a key a cell, none for channel 0
    std::vector<std::vector<char>> held;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int channel = map.channel(x, y);
            if (!channel) continue;
            const std::array<const WorldCorner*, 4> corners = {&map.corner(x, y), &map.corner(x + 1, y),
                                                               &map.corner(x + 1, y + 1), &map.corner(x, y + 1)};
            int low = corners[0]->level;
            for (const WorldCorner* c : corners) low = std::min<int>(low, c->level);
            WorldTileKey key;
            key.variant = static_cast<std::uint8_t>(map.variant(x, y));
            key.channel = static_cast<std::uint16_t>(channel);
            if (const int rise = map.rise(x, y); rise != 0) {
                key.kind = rise == 1 ? WorldTileKey::Kind::rapids : WorldTileKey::Kind::fall;
                // The ground of the stack it stands in for: its lowest terrain, whole.
                key.terrain = corners[0]->terrain;
                for (const WorldCorner* c : corners) key.terrain = std::min(key.terrain, c->terrain);
                for (int k = 0; k < 4; ++k)
                    if (corners[k]->level > low) key.mask |= static_cast<std::uint8_t>(1 << k);
            } else {
                key.kind = WorldTileKey::Kind::river;
                key.terrain = WorldTerrain::water;
                for (int k = 0; k < 4; ++k)
                    if (!is_water(corners[k]->terrain)) key.mask |= static_cast<std::uint8_t>(1 << k);
            }
            if (static_cast<int>(placed.size()) <= low) placed.resize(low + 1), held.resize(low + 1);
            if (placed[low].empty()) placed[low].resize(static_cast<std::size_t>(w) * h), held[low].assign(placed[low].size(), 0);
            placed[low][y * w + x] = key;
            held[low][y * w + x] = 1;
            keys.emplace(key, 0);
        }
    if (keys.empty()) return;
    int next = static_cast<int>(layout.tiles.size());
    for (auto& [key, index] : keys) {
        index = next++;
        layout.tiles.push_back(key);
    }
    for (int level = static_cast<int>(placed.size()) - 1; level >= 0; --level) {
        if (placed[level].empty()) continue;
        WorldLayer layer;
        layer.name = "level" + std::to_string(level) + "_rivers";
        layer.level = level;
        layer.cells.assign(placed[level].size(), -1);
        for (std::size_t c = 0; c < placed[level].size(); ++c)
            if (held[level][c]) layer.cells[c] = keys.at(placed[level][c]);
        // After the level's own layers, before the next level's.
        const auto after = std::find_if(layout.layers.begin(), layout.layers.end(),
                                        [&](const WorldLayer& l) { return l.level > level; });
        layout.layers.insert(after, std::move(layer));
    }
}
