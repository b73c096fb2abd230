#include "export/tile/slope_tiles.hpp"

#include "export/tile/transition_tiles.hpp"

SlopeTileSpec slope_tile_spec(const TileRequest& s, int index) {
    SlopeTileSpec spec;
    spec.ground = s.terrain_a;
    spec.face = s.terrain_b;
    spec.cliff = s.cliff;
    const int in_set = transition_mask(s, set_index(s, index));
    spec.mask = in_set % corner_masks;
    spec.variant = transition_variant(s, set_index(s, index));
    if (s.over) {
        spec.over = true;
        spec.upper = s.terrain_b;
        spec.ground_mask = in_set / corner_masks;
    }
    spec.step = s.slope_step;
    spec.set_seed = s.seed;
    spec.channel = s.channel;
    spec.road = s.road;
    spec.water = s.channel_water.value_or(TransitionTerrain{TerrainKind::water, 0});
    return spec;
}

int run_slope_step(const TileRequest& s) { return s.slope_step > 0 ? s.slope_step : default_slope_step(s.iso_width); }

Problem read_slope_terrains(TileChoice& s, const std::string& text) {
    // A water last is the channel's; the rest read as a transition's terrains
    // do, one as the first of a pair.
    std::string land = text;
    std::optional<TransitionTerrain> water;
    if (const std::size_t comma = text.rfind(','); comma != std::string::npos) {
        TileChoice last;
        if (!read_transition_terrains(last, text.substr(comma + 1)) && last.terrain_a.kind == TerrainKind::water)
            water = last.terrain_a, land = text.substr(0, comma);
    }
    const bool pair = land.find(',') != std::string::npos;
    TileChoice read = s;
    if (auto problem = read_transition_terrains(read, pair ? land : land + ",water:0")) return problem;
    if (read.terrain_a.kind == TerrainKind::water || (pair && read.terrain_b.kind == TerrainKind::water))
        return "\"" + text + "\": slopes and cliffs are of ground:N or rock:N (a water:N last is a --channel's); "
               "water lies flat";
    s.terrain_a = read.terrain_a;
    s.terrain_b = pair ? read.terrain_b : read.terrain_a;
    s.terrain_count = pair ? 2 : 1;
    s.channel_water = water;
    return std::nullopt;
}
