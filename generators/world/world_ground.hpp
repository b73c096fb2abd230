#pragma once
#include "generators/world/world_patch.hpp"

#include <cstdint>
#include <vector>

// What the object rules know of each cell of a patch: its levels, its
// terrain, how deep it lies in a forest and how near water. Every fact
// reads corners at most world_ground_reach() away, so facts of cells that
// far inside the patch are the whole world's.
struct CellFacts {
    int low = 0, top = 0;  // its lowest and highest corner's level
    int bottom = 0;        // its bottom corner's, the one nearest the viewer
    int rise = 0;          // 0 flat, 1 a slope, 2 a cliff
    bool wet = false;      // a corner is water
    bool settled = false;  // all four corners grass or meadow
    bool near_water = false;
    int terrain = -1;  // the terrain of three corners or more (as the fields gave it), -1 if none
    // Three corners or more show rock or snow (a cliff beside gives a
    // corner its rock), and how many show snow.
    bool high = false;
    int snow_corners = 0;
    // Corners from the cell to the nearest corner outside the forest (0: it
    // has one), or for a cell outside, to the nearest in it, up to
    // world_forest_depth() either way.
    int forest_depth = 0, forest_distance = 0;
};

inline constexpr int world_forest_depth() { return 3; }
// Corners from a house's cell within which water must lie.
inline constexpr int world_house_water_reach() { return 4; }
int world_ground_reach();

class WorldGround {
public:
    explicit WorldGround(const WorldPatch& patch);
    const WorldPatch& patch() const { return patch_; }
    int width() const { return patch_.width - 1; }  // cells
    int height() const { return patch_.height - 1; }
    const CellFacts& at(int x, int y) const { return facts_[static_cast<std::size_t>(patch_.cell_at(x, y))]; }
    // Whether an object on the cell shows whole over the tiles: it is dry,
    // not on a cliff, and no cliff in front of it rises above its top far
    // enough to hide its foot. Objects are drawn over every tile, and
    // ground rising as slopes never climbs above a foot behind it.
    bool may_stand(int x, int y) const;
    // Whether no cliff in front of the cell rises over something standing
    // at `level`: one next to it by a level, one a row beyond by two.
    bool clear_in_front(int x, int y, int level) const;
    static constexpr int front_reach = 2;

private:
    const WorldPatch& patch_;
    std::vector<CellFacts> facts_;
};
