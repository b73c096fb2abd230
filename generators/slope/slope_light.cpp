#include "generators/slope/slope_light.hpp"

#include <algorithm>
#include <cmath>

namespace {
// Low enough that a slope of one step a tile reads on speckled ground.
constexpr double elevation = 0.5235987755982988;  // 30 degrees above the ground
// Mostly along i, a little along j, so that ground falling towards either
// front edge of the diamond takes the light.
constexpr double along_j_share = 0.5;
}  // namespace

WorldDirection ground_normal(double per_i, double per_j) {
    return ground_axes(-per_i / ground_step_in_height, -per_j / ground_step_in_height, 1.0);
}

double face_light(const WorldDirection& n) {
    const WorldDirection toward = ground_axes(1.0, along_j_share, 0.0);
    const double across = std::hypot(toward.right, toward.away);
    const WorldDirection along_i{toward.right / across, toward.away / across, 0.0};
    const double length = std::sqrt(n.right * n.right + n.away * n.away + n.up * n.up);
    const double facing = std::cos(elevation) * (n.right * along_i.right + n.away * along_i.away) / length +
                          std::sin(elevation) * n.up / length;
    // The light is kept soft: where a hill turns, or tiles of different
    // corners meet, it changes no more sharply than the ground's own
    // texture does; steep faces are eased towards 1.4 and 0.6.
    const double lambert = facing / std::sin(elevation) - 1.0;
    return 1.0 + 0.4 * std::tanh(0.8 * lambert);
}
