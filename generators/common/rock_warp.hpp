#pragma once
#include <cstdint>
#include <memory>
#include <vector>

// Rock read through a warp. A seamless cell laid on every tile of a map
// repeats its joints and strata at the tile period, and the diamond turns
// each of their straight runs into a diagonal, so a cell whose grain runs
// along its sides weaves cloth across a map. The cell is read instead
// turned an eighth, so its rows and columns run across and down the screen,
// and from a place moved by a few texels of smooth noise, which bends every
// run into the irregular line of a crack or a bed; both repeat with the
// cell, so the reading stays as seamless as the cell. Each warp has its own
// seed: every tile of a set reads one along its edges, a variant its own
// inside, so neighbouring tiles bend their grain differently.
class RockWarp {
public:
    explicit RockWarp(std::uint64_t seed);
    // The texel read for texel (x, y) of the plain cell (wrapped into it).
    void at(int x, int y, int& from_x, int& from_y) const {
        const std::uint16_t from = (*from_)[static_cast<std::size_t>(y) * 64 + x];
        from_x = from & 63, from_y = from >> 6;
    }

private:
    std::shared_ptr<const std::vector<std::uint16_t>> from_;  // x + 64 y of the texel read, row by row
};
