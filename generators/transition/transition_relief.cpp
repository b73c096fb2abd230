#include "generators/transition/transition_relief.hpp"

#include <algorithm>
#include <cmath>

Surface transition_relief(double into_upper, double uphill_i, double uphill_j, const TransitionStep& step) {
    // One grid step across the tile is this much ground, in pixels of height.
    const double across = std::clamp(into_upper, 0.0, step.width) * ground_step_in_height;
    const auto height = static_cast<float>(across * step.rise);
    if (into_upper <= 0.0 || into_upper >= step.width) return plane_at_height({}, height);
    // On the slope: the normal leans down it, towards the lower side.
    const double length = std::hypot(uphill_i, uphill_j);
    if (length == 0.0) return plane_at_height({}, height);
    const double i = uphill_i / length, j = uphill_j / length;
    return plane_at_height(ground_axes(-step.rise * i, -step.rise * j, 1.0), height);
}
