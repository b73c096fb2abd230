#pragma once
#include "generators/world/world_ground.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Where a road may run over the whole world's cells, and the cheapest way
// for one. A road keeps to dry, low land: never through water, over a
// cliff, on rock or snow. It climbs a level only straight up a slope whose
// high side is one edge, and crosses a river only on a bridge, straight
// over a flat cell the river runs straight through. Between two cells it
// crosses their shared edge, whose corners always lie on one level, so a
// road never steps up or down at an edge.
class WorldRoadGround {
public:
    // `margin`: the patch's corners outside the world on each side.
    WorldRoadGround(const WorldPatch& patch, const WorldGround& ground, int margin, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Whether a road may enter the cell at all.
    bool open(int x, int y) const { return ways_[index(x, y)].open; }
    // The pair of opposite edges a road must cross the cell by (a slope's
    // or a bridge's), 0 where it may turn any way.
    int axis(int x, int y) const { return ways_[index(x, y)].axis; }
    bool bridge(int x, int y) const { return ways_[index(x, y)].bridge; }

    // The cheapest road from `from` to the nearest cell `goal` accepts
    // (from itself included), over the open cells; cells `road` marks 1 (a
    // road) cost less, so roads join and share their way, and those it
    // marks 2 (a house) are closed. Empty when none is reached.
    std::vector<std::array<int, 2>> cheapest(std::array<int, 2> from, const std::function<bool(int, int)>& goal,
                                             const std::vector<char>& road) const;

private:
    struct Way {
        bool open = false, bridge = false;
        std::uint8_t axis = 0;
        float cost = 1;
    };
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<Way> ways_;
    struct Search {
        std::vector<float> cost;
        std::vector<std::int64_t> came;
        std::vector<char> done;
        std::vector<std::size_t> touched;
    };
    mutable Search search_;
};
