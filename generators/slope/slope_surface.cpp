#include "generators/slope/slope_surface.hpp"

#include "generators/transition/transition_set.hpp"

SlopeSurface::SlopeSurface(int mask)
    : top_(corner_terrain(mask, corner_top)),
      right_(corner_terrain(mask, corner_right)),
      bottom_(corner_terrain(mask, corner_bottom)),
      left_(corner_terrain(mask, corner_left)) {}
