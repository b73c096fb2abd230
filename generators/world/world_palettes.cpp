// The built-in palettes: which texture of the ground sheet each terrain
// shows. Each terrain is drawn over the one below it, so neighbours in the
// list are chosen to read well as a pair (sand over water, leaf litter over
// grass, ...).
#include "generators/world/world_palettes.hpp"

namespace {

constexpr TransitionTerrain ground(int cell) { return {TerrainKind::ground, cell}; }
constexpr TransitionTerrain water(int cell) { return {TerrainKind::water, cell}; }
constexpr TransitionTerrain rock(int cell) { return {TerrainKind::rock, cell}; }

// In terrain order: deep water, water, shore, meadow, grass, forest, rock,
// snow; then the cliffs' face.
struct PaletteRow {
    const char* name;
    std::array<TransitionTerrain, world_terrain_count> textures;
    TransitionTerrain cliff_face;
};
constexpr PaletteRow palette_rows[] = {
    // Deep ocean, sea, sand, buttercup meadow, lush grass, leaf litter, scree, snow; slate faces.
    {"temperate", {water(5), water(0), ground(10), ground(4), ground(0), ground(18), rock(4), ground(19)}, rock(9)},
    // Sea, lagoon, sand, steppe, dry grass, ochre earth, red sandstone, limestone; yellow sandstone faces.
    {"arid", {water(0), water(1), ground(10), ground(9), ground(8), rock(10), rock(1), rock(8)}, rock(16)},
    // Deep ocean, tropical shallows, sand, poppies, lush grass, peat, mossy rock, basalt; volcanic faces.
    {"tropical", {water(5), water(9), ground(10), ground(7), ground(0), rock(19), rock(6), rock(5)}, rock(14)},
    // Lake, ice floes, gravel, snow, half-dry grass, leaf litter, snowy scree, snowy rock; slate faces.
    {"winter", {water(2), water(6), ground(13), ground(19), ground(6), ground(18), rock(7), rock(18)}, rock(9)},
};

// What the world's sets need of a palette: each terrain its own texture
// (an over set joins two different ones), water where the world has water
// and nowhere else (slopes and cliffs are of land), textures the ground
// sheet holds, and a cliff face of rock unlike the rock above it.
constexpr bool holds(const TransitionTerrain& t) {
    return t.cell >= 0 && t.cell < (t.kind == TerrainKind::water ? 10 : 20);
}
constexpr bool sound(const PaletteRow& row) {
    for (int i = 0; i < world_terrain_count; ++i) {
        const TransitionTerrain& t = row.textures[static_cast<std::size_t>(i)];
        if (!holds(t) || (t.kind == TerrainKind::water) != is_water(static_cast<WorldTerrain>(i))) return false;
        for (int j = 0; j < i; ++j)
            if (row.textures[static_cast<std::size_t>(j)] == t) return false;
    }
    return holds(row.cliff_face) && row.cliff_face.kind != TerrainKind::water &&
           !(row.cliff_face == row.textures[static_cast<std::size_t>(WorldTerrain::rock)]);
}
constexpr bool all_sound() {
    for (const PaletteRow& row : palette_rows)
        if (!sound(row)) return false;
    return true;
}
static_assert(all_sound(), "a palette breaks the rules its sets need (see sound())");

}  // namespace

const std::vector<WorldPalette>& world_palettes() {
    static const std::vector<WorldPalette> palettes = [] {
        std::vector<WorldPalette> all;
        for (const PaletteRow& row : palette_rows) all.push_back({row.name, row.textures, row.cliff_face});
        return all;
    }();
    return palettes;
}

const WorldPalette* world_palette_named(const std::string& name) {
    if (name.empty()) return &world_palettes().front();
    for (const WorldPalette& palette : world_palettes())
        if (palette.name == name) return &palette;
    return nullptr;
}
