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
// snow; then the cliffs' face, the roads' track and what stands on the ground.
struct PaletteRow {
    const char* name;
    std::array<TransitionTerrain, world_terrain_count> textures;
    TransitionTerrain cliff_face;
    TransitionTerrain road;
    PaletteObjects objects;
};
constexpr PaletteRow palette_rows[] = {
    // Deep ocean, sea, sand, buttercup meadow, lush grass, mossy forest floor, scree, snow; slate faces.
    // Earthen roads. Oaks giving way to firs uphill, green bushes, grey boulders, grey mountains.
    {"temperate",
     {water(5), water(0), ground(10), ground(4), ground(0), ground(1), rock(4), ground(19)},
     rock(9), ground(12),
     {0.45, 0.85, 10, 100, false, rgb(40, 110, 25), rgb(20, 100, 10), {0, 2, 8, 6}, 0, false, 1.0, 1.0, 1.0}},
    // Sea, lagoon, sand, steppe, dry grass, olive scrubland, red sandstone, limestone; yellow sandstone faces.
    // Earthen roads. Small thin-crowned trees, pines on the heights, dry scrub, many sand and red rocks.
    {"arid",
     {water(0), water(1), ground(10), ground(9), ground(8), ground(5), rock(1), rock(8)},
     rock(16), ground(12),
     {0.55, 0.95, 6, 85, false, rgb(120, 112, 45), rgb(150, 130, 50), {1, 4, 1, 4}, 1, false, 1.0, 2.0, 3.0}},
    // Deep ocean, tropical shallows, sand, poppies, lush grass, jungle floor, mossy rock, basalt; volcanic faces.
    // Earthen roads. Tall full-crowned trees, conifers only below the rock, lush bushes, mossy boulders.
    {"tropical",
     {water(5), water(9), ground(10), ground(7), ground(0), ground(2), rock(6), rock(5)},
     rock(14), ground(12),
     {0.8, 1.0, 10, 115, false, rgb(30, 140, 30), rgb(30, 120, 20), {3, 7, 9, 11}, 6, false, 1.0, 1.5, 0.7}},
    // Lake, ice floes, gravel, snow, half-dry grass, needle floor, snowy scree, snowy rock; slate faces.
    // Cobbled roads. Snowy conifers, bare bushes, pale boulders under snow, mountains white on the snow.
    {"winter",
     {water(2), water(6), ground(13), ground(19), ground(6), ground(3), rock(7), rock(18)},
     rock(9), ground(11),
     {-1.0, -0.5, 0, 100, true, rgb(95, 72, 50), rgb(125, 112, 70), {5, 6, 0, 8}, 7, true, 1.25, 1.0, 1.0}},
};

// What the world's sets need of a palette: each terrain its own texture
// (an over set joins two different ones), water where the world has water
// and nowhere else (slopes and cliffs are of land), textures the ground
// sheet holds, and a cliff face of rock unlike the rock above it. Its
// objects name items, sprites and textures that exist.
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
    const PaletteObjects& o = row.objects;
    for (const int boulder : o.boulders)
        if (boulder < 0 || boulder >= 12) return false;
    if (o.leaves_item < 0 || o.leaves_item > 10 || o.mountain_rock < 0 || o.mountain_rock >= 20 ||
        o.conifers_from > o.conifers_to)
        return false;
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
        for (const PaletteRow& row : palette_rows) all.push_back({row.name, row.textures, row.cliff_face, row.road, row.objects});
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
