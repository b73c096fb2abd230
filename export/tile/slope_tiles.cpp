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
    return spec;
}

int run_slope_step(const TileRequest& s) { return s.slope_step > 0 ? s.slope_step : default_slope_step(s.iso_width); }

Problem read_slope_terrains(TileChoice& s, const std::string& text) {
    // Two terrains read as a transition's do; one as the first of a pair.
    const bool pair = text.find(',') != std::string::npos;
    TileChoice read = s;
    if (auto problem = read_transition_terrains(read, pair ? text : text + ",water:0")) return problem;
    if (read.terrain_a.kind == TerrainKind::water || (pair && read.terrain_b.kind == TerrainKind::water))
        return "\"" + text + "\": slopes and cliffs are of ground:N or rock:N; water lies flat";
    s.terrain_a = read.terrain_a;
    s.terrain_b = pair ? read.terrain_b : read.terrain_a;
    s.terrain_count = pair ? 2 : 1;
    return std::nullopt;
}
