#include "generators/world/world_road_layout.hpp"

#include <algorithm>
#include <array>

void lay_out_world_roads(const WorldMap& map, WorldLayout& layout) {
    if (map.tracks.empty()) return;
    const int w = map.width, h = map.height;
    std::vector<std::vector<std::pair<int, WorldTileKey>>> placed;  // by level: each cell's key
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int track = map.track(x, y);
            if (!track) continue;
            const std::array<const WorldCorner*, 4> corners = {&map.corner(x, y), &map.corner(x + 1, y),
                                                               &map.corner(x + 1, y + 1), &map.corner(x, y + 1)};
            int low = corners[0]->level;
            WorldTileKey key;
            key.kind = WorldTileKey::Kind::road;
            key.terrain = corners[0]->terrain;
            for (const WorldCorner* c : corners) {
                low = std::min<int>(low, c->level);
                key.terrain = std::min(key.terrain, c->terrain);
            }
            // On a slope the track lies on its surface: its high corners.
            for (int k = 0; k < 4; ++k)
                if (corners[k]->level > low) key.mask |= static_cast<std::uint8_t>(1 << k);
            key.variant = static_cast<std::uint8_t>(map.variant(x, y));
            key.channel = static_cast<std::uint16_t>(track);
            if (static_cast<int>(placed.size()) <= low) placed.resize(low + 1);
            placed[static_cast<std::size_t>(low)].emplace_back(y * w + x, key);
        }
    add_world_overlay(layout, placed, "roads", static_cast<std::size_t>(w) * h);
}
