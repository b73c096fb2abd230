#include "export/tile/transition_tiles.hpp"

#include <charconv>

TransitionTileSpec transition_tile_spec(const TileRequest& s, int index) {
    TransitionTileSpec spec;
    spec.a = s.terrain_a;
    spec.b = s.terrain_b;
    spec.mask = transition_mask(s, set_index(s, index));
    spec.variant = transition_variant(s, set_index(s, index));
    spec.set_seed = s.seed;
    spec.over = s.over;
    spec.channel = s.channel;
    spec.road = s.road;
    return spec;
}

namespace {
Problem read_terrain(const std::string& text, TransitionTerrain& terrain) {
    const std::size_t colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    if (kind == "ground") terrain.kind = TerrainKind::ground;
    else if (kind == "water") terrain.kind = TerrainKind::water;
    else if (kind == "rock") terrain.kind = TerrainKind::rock;
    else return "\"" + text + "\" is not a terrain: write ground:N, water:N or rock:N";
    const int count = terrain_cell_count(terrain.kind);
    const std::string range = kind + " takes a texture number from 0 to " + std::to_string(count - 1);
    if (colon == std::string::npos) return "\"" + text + "\" names no texture: " + range;
    const std::string number = text.substr(colon + 1);
    int cell = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), cell);
    if (error != std::errc() || end != number.data() + number.size() || number.empty() || cell < 0 || cell >= count)
        return "\"" + text + "\": " + range;
    terrain.cell = cell;
    return std::nullopt;
}
}  // namespace

Problem read_transition_terrains(TileChoice& s, const std::string& text) {
    const std::size_t comma = text.find(',');
    TransitionTerrain a, b;
    if (comma == std::string::npos) {
        if (auto problem = read_terrain(text, a)) return problem;
        s.terrain_a = s.terrain_b = a;
        s.fill_set = true;
        return std::nullopt;
    }
    if (text.find(',', comma + 1) != std::string::npos)
        return "\"" + text + "\" is not one terrain A or two A,B such as ground:3,water:0";
    if (auto problem = read_terrain(text.substr(0, comma), a)) return problem;
    if (auto problem = read_terrain(text.substr(comma + 1), b)) return problem;
    if (a == b)
        return "\"" + text + "\" names " + terrain_name(a) + " twice: a transition joins two different terrains";
    s.terrain_a = a;
    s.terrain_b = b;
    s.fill_set = false;
    return std::nullopt;
}
