#pragma once
#include "canvas/colour.hpp"
#include "canvas/numbers.hpp"
#include "canvas/raster_image.hpp"
#include "generators/common/rock_warp.hpp"
#include "state/texture_cells.hpp"

#include <memory>
#include <vector>

// A land texture cell with its broad light and dark patches partly evened
// out. Painted cells are often darker or lighter towards their border; a
// set's tiles all share the cell's border along their edges, so across a map
// that drift draws the diamond lattice. Each texel is moved by the
// difference between the cell's mean and its wrapped neighbourhood's, which
// keeps the fine grain at its contrast (and the cell seamless) and drops the
// drift.
//
// Rock may be read through a warp (rock_warp.hpp), so that its grain weaves
// no cloth across a map.
class EvenTexture {
public:
    EvenTexture() = default;
    EvenTexture(const RasterImage& sheet, SheetPoint cell, std::shared_ptr<const RockWarp> warp = nullptr);

    // Texel (x, y) of the cell, wrapped into it (read through the warp).
    Colour at(int x, int y) const;
    // The texel of grid point (i, j) sampled every `step` texels, as
    // diamond_texel reads the plain cell.
    Colour at_point(int i, int j, float step) const {
        return at(nearest_to_int(i * static_cast<double>(step)), nearest_to_int(j * static_cast<double>(step)));
    }

private:
    Colour evened(int x, int y) const;
    const RasterImage* sheet_ = nullptr;
    std::shared_ptr<const RockWarp> warp_;
    SheetPoint cell_;
    std::shared_ptr<const std::vector<int>> shift_;  // red, green, blue per texel, row by row
};
