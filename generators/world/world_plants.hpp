#pragma once
#include "generators/world/world_fields.hpp"
#include "generators/world/world_ground.hpp"
#include "generators/world/world_palettes.hpp"

#include <cstdint>
#include <vector>

// What grows in a cell: trees thick in forests, clustered and thinning
// towards the forest's edge and out into the grass, with bushes beneath
// them; scattered trees and bushes on grass and meadow; boulders on rock.
// A cell holds up to nine stands, each somewhere about its place on a
// lattice. Conifers take over from broadleaf trees uphill, as the palette says.
struct Planting {
    const WorldGround& ground;
    const WorldFields& fields;
    const WorldThresholds& thresholds;
    const PaletteObjects& palette;
    std::uint64_t seed;  // the objects' stream
};

// Appends what stands in the patch's cell (x, y), back to front within it.
void plant_cell(const Planting& planting, int x, int y, std::vector<WorldObject>& out);
