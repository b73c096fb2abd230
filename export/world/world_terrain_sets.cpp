#include "export/world/world_terrain_sets.hpp"

#include "export/formats/markup_text.hpp"
#include "export/formats/transition_engine_files.hpp"
#include "generators/transition/transition_set.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <sstream>

namespace {
constexpr int none = -1;
constexpr int corner_bits[4] = {corner_top, corner_right, corner_bottom, corner_left};

struct Member {
    int tile = 0;
    std::array<int, 4> corners{};  // top, right, bottom, left: a terrain of the set, or none
    int centre = 0;                // the terrain Godot says the tile is
};

struct TerrainSet {
    std::string name;
    std::vector<TerrainSwatch> terrains;
    std::vector<Member> members;  // in tile order
};

// The mask's corners as `on` where set, `off` elsewhere.
std::array<int, 4> corners_of(int mask, int on, int off) {
    std::array<int, 4> out{};
    for (int c = 0; c < 4; ++c) out[c] = (mask & corner_bits[c]) ? on : off;
    return out;
}

std::string wangsets_element(const std::vector<TerrainSet>& sets, int frames) {
    std::ostringstream out;
    out << " <wangsets>\n";
    for (const TerrainSet& set : sets) {
        out << "  <wangset name=\"" << xml_attribute_text(set.name) << "\" type=\"corner\" tile=\"-1\">\n";
        for (const TerrainSwatch& terrain : set.terrains) out << tiled_wangcolor(terrain, -1);
        for (const Member& m : set.members) {
            // Slots clockwise from the top edge, corners at 1 (right), 3, 5, 7 (top); colour 0 is none.
            const auto colour = [&](int corner) { return m.corners[corner] + 1; };
            out << "   <wangtile tileid=\"" << m.tile * frames << "\" wangid=\"0," << colour(1) << ",0," << colour(2)
                << ",0," << colour(3) << ",0," << colour(0) << "\"/>\n";
        }
        out << "  </wangset>\n";
    }
    out << " </wangsets>\n";
    return out.str();
}
}  // namespace

WorldTerrainSets world_terrain_sets(const std::vector<WorldTileKey>& keys, int frames,
                                    const std::vector<std::string>& names, const std::vector<Colour>& colours) {
    WorldTerrainSets out;
    out.godot_tiles.resize(keys.size());
    if (keys.empty()) return out;
    std::vector<TerrainSwatch> world;
    for (std::size_t t = 0; t < names.size(); ++t) world.push_back({names[t], colours[t]});
    const auto swatch = [&](int t) { return world[static_cast<std::size_t>(t)]; };
    // The same ground, told apart by light.
    const auto raised = [](Colour c) { return rgb((red(c) + 255) / 2, (green(c) + 255) / 2, (blue(c) + 255) / 2); };

    TerrainSet terrains{"terrains", world, {}};
    std::map<int, TerrainSet> edges;                   // by terrain
    std::map<std::pair<int, int>, TerrainSet> slopes;  // by kind and ground
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const WorldTileKey& key = keys[k];
        const int t = static_cast<int>(key.terrain), tile = static_cast<int>(k);
        switch (key.kind) {
            case WorldTileKey::Kind::fill: terrains.members.push_back({tile, {t, t, t, t}, t}); break;
            case WorldTileKey::Kind::over: {
                TerrainSet& set = edges[t];
                set.name = names[t] + " edges";
                set.terrains = {swatch(t)};
                set.members.push_back({tile, corners_of(key.mask, 0, none), 0});
                break;
            }
            case WorldTileKey::Kind::slope:
            case WorldTileKey::Kind::cliff: {
                const bool cliff = key.kind == WorldTileKey::Kind::cliff;
                TerrainSet& set = slopes[{cliff, t}];
                set.name = names[t] + (cliff ? " cliffs" : " slopes");
                set.terrains = {{"low", colours[t]}, {"high", raised(colours[t])}};
                const std::array<int, 4> corners = corners_of(key.mask, 1, 0);
                set.members.push_back({tile, corners, corners[0] + corners[1] + corners[2] + corners[3] >= 2});
                break;
            }
            // A river's and a road's tiles lie on layers of their own, laid
            // along their course, not painted.
            case WorldTileKey::Kind::road:
            case WorldTileKey::Kind::river:
            case WorldTileKey::Kind::rapids:
            case WorldTileKey::Kind::fall: break;
        }
    }
    // Each edge set holds its terrain's fills too, so its brush can cover ground.
    for (const Member& fill : terrains.members)
        if (auto it = edges.find(fill.centre); it != edges.end()) {
            std::vector<Member>& members = it->second.members;
            Member own{fill.tile, {0, 0, 0, 0}, 0};
            auto at = members.begin();
            while (at != members.end() && at->tile < fill.tile) ++at;
            members.insert(at, own);
        }

    std::vector<TerrainSet> sets;
    if (!terrains.members.empty()) sets.push_back(std::move(terrains));
    for (auto& [t, set] : edges) sets.push_back(std::move(set));
    for (auto& [group, set] : slopes) sets.push_back(std::move(set));
    if (sets.empty()) return out;
    out.tiled = wangsets_element(sets, frames);

    out.godot_alternatives.assign(keys.size(), 0);  // counting the tile itself until the end
    for (std::size_t s = 0; s < sets.size(); ++s) {
        const GodotKeys set = godot_terrain_set(sets[s].terrains, static_cast<int>(s));
        out.godot_tileset.insert(out.godot_tileset.end(), set.begin(), set.end());
        for (const Member& m : sets[s].members) {
            GodotKeys& tile = out.godot_tiles[static_cast<std::size_t>(m.tile)];
            const std::string alternative = std::to_string(out.godot_alternatives[static_cast<std::size_t>(m.tile)]++);
            tile.push_back({alternative + "/terrain_set", std::to_string(s)});
            tile.push_back({alternative + "/terrain", std::to_string(m.centre)});
            // Godot's corner bits, a clear corner left unset (no terrain).
            const char* const bits[4] = {"top_corner", "right_corner", "bottom_corner", "left_corner"};
            for (const int c : {1, 2, 3, 0})
                if (m.corners[c] != none)
                    tile.push_back({alternative + "/terrains_peering_bit/" + bits[c], std::to_string(m.corners[c])});
        }
    }
    for (int& alternatives : out.godot_alternatives) alternatives = std::max(0, alternatives - 1);
    return out;
}
