#pragma once
#include "generators/world/world_map.hpp"

#include <cstdint>

// The world's two fields, elevation and moisture, as functions of a corner's
// place in the world: fractal value noise over a hashed lattice, so any
// corner is computed on its own and a chunk needs nothing from its
// neighbours. Both lie in 0..1; elevation sinks towards the world's border,
// which makes the edge of the map sea.
class WorldFields {
public:
    explicit WorldFields(const WorldRequest& request);
    double elevation(int cx, int cy) const;
    double moisture(int cx, int cy) const;

private:
    std::uint64_t elevation_seed_, moisture_seed_;
    int width_, height_;
    double scale_;   // corners across the widest lattice cell
    double border_;  // corners over which the land sinks into the sea at the edge
};
