#pragma once
#include "state/texture_cells.hpp"
#include "canvas/colour.hpp"
#include "canvas/raster_image.hpp"

#include <string>

// The kinds of terrain a transition or slope set joins.
enum class TerrainKind { ground, water, rock };

// A terrain of a transition set: a texture cell of the ground sheet.
struct TransitionTerrain {
    TerrainKind kind = TerrainKind::ground;
    int cell = 0;  // ground and rock 0..19, water 0..9
    bool operator==(const TransitionTerrain&) const = default;
};

// The number of texture cells of a kind.
int terrain_cell_count(TerrainKind kind);
// "ground:3", the form users write.
std::string terrain_name(const TransitionTerrain& terrain);
// The top-left corner of the terrain's texture cell in the ground sheet.
SheetPoint terrain_cell_origin(const TransitionTerrain& terrain);
// The mean colour of the terrain's texture cell, for editors' swatches.
Colour terrain_mean_colour(const RasterImage& ground_sheet, const TransitionTerrain& terrain);
