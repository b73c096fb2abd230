#include "generators/transition/tile_regions.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
int edge_steps(int i, int j, int h) { return std::min({i, j, h - 1 - i, h - 1 - j}); }

struct Offset {
    int di, dj;
    float length;
};

std::vector<Offset> offsets_by_length(int reach) {
    std::vector<Offset> offsets;
    for (int dj = -reach; dj <= reach; ++dj)
        for (int di = -reach; di <= reach; ++di) {
            const float length = std::hypot(static_cast<float>(di), static_cast<float>(dj));
            if ((di != 0 || dj != 0) && length <= static_cast<float>(reach)) offsets.push_back({di, dj, length});
        }
    std::stable_sort(offsets.begin(), offsets.end(),
                     [](const Offset& a, const Offset& b) { return a.length < b.length; });
    return offsets;
}
}  // namespace

void clear_small_regions(std::vector<std::uint8_t>& mask, int h, int extent) {
    std::vector<std::uint8_t> seen(mask.size(), 0);
    std::vector<int> stack, region;
    for (int start = 0; start < h * h; ++start) {
        if (seen[start] || !mask[start]) continue;
        int lo_i = h, hi_i = -1, lo_j = h, hi_j = -1;
        bool at_rim = false;
        region.clear();
        stack.assign(1, start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back(), i = at % h, j = at / h;
            stack.pop_back();
            region.push_back(at);
            lo_i = std::min(lo_i, i), hi_i = std::max(hi_i, i), lo_j = std::min(lo_j, j), hi_j = std::max(hi_j, j);
            at_rim = at_rim || edge_steps(i, j, h) == 0;
            const int next[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= h || n[1] >= h) continue;
                const int k = n[1] * h + n[0];
                if (seen[k] || !mask[k]) continue;
                seen[k] = 1;
                stack.push_back(k);
            }
        }
        if (!at_rim && std::max(hi_i - lo_i, hi_j - lo_j) + 1 < extent)
            for (int at : region) mask[at] = 0;
    }
}

TileRegions::TileRegions(const CornerField& field, int half_width, int keep_band, int reach)
    : h_(half_width),
      margin_(reach + 1),
      span_(half_width + 2 * (reach + 1)),
      reach_(reach) {
    label(field, keep_band);
    measure(h_);
}

TileRegions::TileRegions(const CornerField& shared, const CornerField& own, int half_width, int keep_band, int reach,
                         double blend)
    : TileRegions(own, half_width, keep_band, reach) {
    const int within = keep_band + static_cast<int>(std::ceil(blend));
    TileRegions set(half_width, reach);
    set.label(shared, keep_band);
    set.measure(within);
    std::vector<float> weight(distance_.size(), 1.0f);
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < h_; ++i) {
            const int edge = edge_steps(i, j, h_);
            if (edge >= within) continue;
            const std::size_t at = static_cast<std::size_t>(j) * h_ + i;
            const double t = std::clamp((edge - keep_band + 1) / blend, 0.0, 1.0), w = t * t * (3 - 2 * t);
            weight[at] = static_cast<float>(w);
            distance_[at] = static_cast<float>((1 - w) * set.distance(i, j) + w * distance_[at]);
        }
    // Where the two courses part, the blend steepens: a point's distance is
    // scaled back by the slope, so that the bands keep their width there.
    const std::vector<float> blended = distance_;
    auto at = [&](int i, int j) {
        return blended[static_cast<std::size_t>(std::clamp(j, 0, h_ - 1)) * h_ + std::clamp(i, 0, h_ - 1)];
    };
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < h_; ++i) {
            const std::size_t k = static_cast<std::size_t>(j) * h_ + i;
            if (weight[k] <= 0 || weight[k] >= 1) continue;
            const double gi = 0.5 * (at(i + 1, j) - at(i - 1, j)), gj = 0.5 * (at(i, j + 1) - at(i, j - 1));
            const double slope = std::max(1.0, std::hypot(gi, gj));
            distance_[k] = static_cast<float>(blended[k] / (1 + weight[k] * (slope - 1)));
        }
    // The slopes are estimated point by point; a 3 x 3 mean takes out the
    // jitter that would leave single points beyond a band's outer line.
    const std::vector<float> scaled = distance_;
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < h_; ++i) {
            const std::size_t k = static_cast<std::size_t>(j) * h_ + i;
            if (weight[k] <= 0) continue;
            double sum = 0;
            for (int dj = -1; dj <= 1; ++dj)
                for (int di = -1; di <= 1; ++di)
                    sum += scaled[static_cast<std::size_t>(std::clamp(j + dj, 0, h_ - 1)) * h_ +
                                  std::clamp(i + di, 0, h_ - 1)];
            distance_[k] = static_cast<float>((1 - weight[k]) * scaled[k] + weight[k] * sum / 9);
        }
    clear_blend_islands(weight);
}

TileRegions::TileRegions(int half_width, int reach)
    : h_(half_width),
      margin_(reach + 1),
      span_(half_width + 2 * (reach + 1)),
      reach_(reach) {}

void TileRegions::label(const CornerField& field, int keep_band) {
    side_.resize(static_cast<std::size_t>(span_) * span_);
    for (int y = 0; y < span_; ++y)
        for (int x = 0; x < span_; ++x) {
            const double u = static_cast<double>(x - margin_) / h_, v = static_cast<double>(y - margin_) / h_;
            side_[index(x, y)] = field.at(u, v).value >= 0.5 ? 1 : 0;
        }
    smooth(keep_band);
    clear_islands(keep_band);
}

// Where the two courses cross, the blend can leave a speck of one side that
// reaches no edge: it takes the distance of the side around it. Points that
// paint edge pixels (weight 0) are never changed.
void TileRegions::clear_blend_islands(const std::vector<float>& weight) {
    std::vector<std::uint8_t> seen(distance_.size(), 0);
    std::vector<int> stack, region;
    for (int start = 0; start < h_ * h_; ++start) {
        if (seen[start]) continue;
        const bool b = distance_[start] >= 0;
        bool keep = false;
        double around = 0;
        int around_count = 0;
        region.clear();
        stack.assign(1, start);
        seen[start] = 1;
        while (!stack.empty()) {
            const int at = stack.back(), i = at % h_, j = at / h_;
            stack.pop_back();
            region.push_back(at);
            keep = keep || edge_steps(i, j, h_) == 0 || weight[at] <= 0;
            const int next[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= h_ || n[1] >= h_) continue;
                const int k = n[1] * h_ + n[0];
                if ((distance_[k] >= 0) != b) {
                    around += distance_[k], ++around_count;
                    continue;
                }
                if (seen[k]) continue;
                seen[k] = 1;
                stack.push_back(k);
            }
        }
        if (keep || around_count == 0) continue;
        for (int at : region) distance_[at] = static_cast<float>(around / around_count);
    }
}

// Two rounds of a 3 x 3 majority vote: one-point teeth, notches and specks go.
void TileRegions::smooth(int keep_band) {
    for (int round = 0; round < 2; ++round) {
        std::vector<std::uint8_t> next = side_;
        for (int j = keep_band; j < h_ - keep_band; ++j)
            for (int i = keep_band; i < h_ - keep_band; ++i) {
                int votes = 0;
                for (int dj = -1; dj <= 1; ++dj)
                    for (int di = -1; di <= 1; ++di) votes += side_[index(i + margin_ + di, j + margin_ + dj)];
                next[index(i + margin_, j + margin_)] = votes >= 5 ? 1 : 0;
            }
        side_ = std::move(next);
    }
}

// A region (4-connected) that touches no point within keep_band of an edge
// reaches no corner: it joins the terrain around it. B's islands go first,
// then A's, so a ring of one round a hole of the other clears in turn.
void TileRegions::clear_islands(int keep_band) {
    std::vector<int> stack;
    for (int cleared = 1; cleared >= 0; --cleared) {
        std::vector<std::uint8_t> seen(static_cast<std::size_t>(h_) * h_, 0);
        for (int start = 0; start < h_ * h_; ++start) {
            if (seen[start] || side(start % h_, start / h_) != cleared) continue;
            std::vector<int> region;
            bool reaches_edge = false;
            stack.assign(1, start);
            seen[start] = 1;
            while (!stack.empty()) {
                const int at = stack.back();
                stack.pop_back();
                region.push_back(at);
                const int i = at % h_, j = at / h_;
                reaches_edge = reaches_edge || edge_steps(i, j, h_) < keep_band;
                const int next[4][2] = {{i + 1, j}, {i - 1, j}, {i, j + 1}, {i, j - 1}};
                for (const auto& n : next) {
                    if (n[0] < 0 || n[1] < 0 || n[0] >= h_ || n[1] >= h_) continue;
                    const int k = n[1] * h_ + n[0];
                    if (seen[k] || side(n[0], n[1]) != cleared) continue;
                    seen[k] = 1;
                    stack.push_back(k);
                }
            }
            if (reaches_edge) continue;
            for (int at : region)
                side_[index(at % h_ + margin_, at / h_ + margin_)] = static_cast<std::uint8_t>(1 - cleared);
        }
    }
}

// The distance to the nearest point of the other terrain, less half a step
// (the boundary runs between the points), nearest offsets first.
void TileRegions::measure(int within) {
    static thread_local std::vector<Offset> offsets;
    static thread_local int offsets_reach = -1;
    if (offsets_reach != reach_) offsets = offsets_by_length(reach_), offsets_reach = reach_;
    distance_.assign(static_cast<std::size_t>(h_) * h_, 0.0f);
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < h_; ++i) {
            if (edge_steps(i, j, h_) >= within) continue;
            const int own = side(i, j);
            float found = static_cast<float>(reach_);
            for (const Offset& o : offsets)
                if (side_[index(i + margin_ + o.di, j + margin_ + o.dj)] != own) {
                    found = o.length - 0.5f;
                    break;
                }
            distance_[static_cast<std::size_t>(j) * h_ + i] = own ? found : -found;
        }
}
