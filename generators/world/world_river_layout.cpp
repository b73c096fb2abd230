#include "generators/world/world_river_layout.hpp"

#include <algorithm>
#include <array>

void lay_out_world_rivers(const WorldMap& map, WorldLayout& layout) {
    const int w = map.width, h = map.height;
    std::vector<std::vector<std::pair<int, WorldTileKey>>> placed;  // by level: each cell's key
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
            if (static_cast<int>(placed.size()) <= low) placed.resize(low + 1);
            placed[low].emplace_back(y * w + x, key);
        }
    add_world_overlay(layout, placed, "rivers", static_cast<std::size_t>(w) * h);
}
