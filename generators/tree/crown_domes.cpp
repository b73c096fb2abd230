#include "generators/tree/crown_domes.hpp"

#include "canvas/wide_loops.hpp"

#include <algorithm>

namespace {
// Leaf i moves to the dome when the dome holds its pixel's centre and was
// drawn after the cluster under it. No branch, so a few leaves go at a time.
WIDE_LOOPS void dome_over(const ClusterDome& dome, int count, const float* __restrict xs, const float* __restrict ys,
                          const int* __restrict under, int* __restrict front) {
    const float cx = dome.cx, cy = dome.cy, inv_rx = dome.inv_rx, inv_ry = dome.inv_ry;
    const int id = static_cast<int>(dome.id);
    for (int i = 0; i < count; ++i) {
        const float u = (xs[i] - cx) * inv_rx, v = (ys[i] - cy) * inv_ry;
        const int in_front = (u * u + v * v <= 1.0f) & (id > under[i]);
        front[i] = in_front ? id : front[i];
    }
}
}  // namespace

// Each dome is laid over the leaves painted before its cluster (the later
// ones are its own or in front of it already), in drawing order, so each
// leaf ends on the last dome that holds it. Weighing every dome a leaf at a
// time cost a branch a dome the processor could not guess.
void smooth_crown(DrawingContext& dc, const std::vector<ClusterDome>& domes,
                  const std::vector<std::pair<int, int>>& leaves) {
    if (domes.empty()) return;
    const auto first = static_cast<int>(domes.front().id), last = static_cast<int>(domes.back().id);
    const std::size_t count = leaves.size();
    std::vector<float> xs(count), ys(count);
    std::vector<int> under(count), front(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto [x, y] = leaves[i];
        xs[i] = static_cast<float>(x) + 0.5f, ys[i] = static_cast<float>(y) + 0.5f;
        // A leaf off the canvas, or painted over since, stays as it is: nothing is in front of `last`.
        const auto id = static_cast<int>(dc.surface_under(x, y));
        under[i] = front[i] = id >= first && id < last ? id : last;
    }
    for (const ClusterDome& dome : domes)
        dome_over(dome, static_cast<int>(std::min(dome.leaves_before, count)), xs.data(), ys.data(), under.data(),
                  front.data());
    // Written back whether moved or not: a branch on that would go either way.
    for (std::size_t i = 0; i < count; ++i)
        if (under[i] != last) dc.remark_surface(leaves[i].first, leaves[i].second, static_cast<SurfaceId>(front[i]));
}
