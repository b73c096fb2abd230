#include "generators/transition/transition_terrain.hpp"

int terrain_cell_count(TerrainKind kind) { return kind == TerrainKind::water ? 10 : 20; }

std::string terrain_name(const TransitionTerrain& t) {
    const char* kind = t.kind == TerrainKind::ground ? "ground" : t.kind == TerrainKind::water ? "water" : "rock";
    return std::string(kind) + ":" + std::to_string(t.cell);
}

SheetPoint terrain_cell_origin(const TransitionTerrain& t) {
    switch (t.kind) {
        case TerrainKind::water: return water_cell_origin(t.cell);
        case TerrainKind::rock: return mountain_cell_origin(t.cell);
        default: return ground_cell_origin(t.cell);
    }
}

Colour terrain_mean_colour(const RasterImage& sheet, const TransitionTerrain& terrain) {
    const SheetPoint at = terrain_cell_origin(terrain);
    long sum[3] = {0, 0, 0}, count = 0;
    for (int y = at.y; y < at.y + ground_cell_size; ++y)
        for (int x = at.x; x < at.x + ground_cell_size; ++x) {
            const Colour c = sheet.colour_at(x, y);
            if (c == no_colour) continue;
            sum[0] += red(c), sum[1] += green(c), sum[2] += blue(c), ++count;
        }
    if (count == 0) return rgb(0, 0, 0);
    return rgb(static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count), static_cast<int>(sum[2] / count));
}
