#include "generators/transition/road_paint.hpp"

#include "canvas/mix_hash.hpp"
#include "generators/common/shading.hpp"
#include "generators/transition/point_shade.hpp"
#include "generators/transition/transition_bands.hpp"
#include "generators/transition/transition_texels.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};
// Room for the course to wander and still keep its soft edge off the
// edges it does not cross.
constexpr ChannelShape::Banks course_banks{0.05, 0.2};
constexpr double keep_off = 0.07;            // from an edge the track does not cross
constexpr double soft_from = -0.035, soft_to = 0.035;  // the worn edge's band about the track's line
constexpr Colour dust = rgb(148, 124, 96);

double smooth(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

RiverChannel course(int from, int to) {
    RiverChannel c;
    c.in = static_cast<std::uint8_t>(from);
    c.out = static_cast<std::uint8_t>(to);
    c.widths[static_cast<std::size_t>(edge_index(from))] = 1;
    if (to) c.widths[static_cast<std::size_t>(edge_index(to))] = 1;
    return c;
}
}  // namespace

double RoadPaint::half_width() { return ChannelShape::half_width(1, course_banks); }

RoadPaint::RoadPaint(const RasterImage& sheet, const TransitionTerrain& surface, const RoadTrack& track,
                     std::uint64_t set_seed, int variant, int half_width)
    : edges_(track.edges & 15),
      surface_(sheet, terrain_cell_origin(surface)),
      set_seed_(set_seed),
      variant_(variant),
      h_(half_width),
      ragged_(mix_hash(set_seed ^ 0x726f6164ULL), 7),
      grain_(mix_hash(set_seed ^ 0x72757473ULL), 23),
      mottle_(mix_hash(set_seed ^ 0x6d6f74ULL), 11) {
    // Through roads first, straight across; a pair of neighbouring edges
    // bends about their corner; an edge left over runs to the middle, a
    // junction's stem or a road's end.
    int left = edges_;
    for (const int e : {edge_ne, edge_se})
        if ((left & e) && (left & opposite_edge(e))) {
            courses_.emplace_back(course(e, opposite_edge(e)), 0, variant, course_banks);
            left &= ~(e | opposite_edge(e));
        }
    if (courses_.empty() && left != 0 && (left & (left - 1)) != 0) {
        for (const int e : edges)
            if ((left & e) && (left & ((e << 1 | e >> 3) & 15))) {
                const int next = (e << 1 | e >> 3) & 15;
                courses_.emplace_back(course(e, next), 0, variant, course_banks);
                left &= ~(e | next);
                break;
            }
    }
    for (const int e : edges)
        if (left & e) courses_.emplace_back(course(e, 0), 0, variant, course_banks);
}

void RoadPaint::place(double u, double v, double& depth, double& from_middle) const {
    depth = -1e9, from_middle = 1e9;
    for (const ChannelShape& c : courses_) {
        const ChannelShape::Place p = c.at(u, v);
        if (p.depth > depth) depth = p.depth, from_middle = p.bank - p.depth;
    }
    double free = 1e9;
    if (!(edges_ & edge_ne)) free = std::min(free, v);
    if (!(edges_ & edge_se)) free = std::min(free, 1 - u);
    if (!(edges_ & edge_sw)) free = std::min(free, 1 - v);
    if (!(edges_ & edge_nw)) free = std::min(free, u);
    depth = std::min(depth, free - keep_off);
}

double RoadPaint::coverage(double u, double v) const {
    if (courses_.empty()) return 0;
    double depth, from_middle;
    place(u, v, depth, from_middle);
    if (depth < soft_from - 0.06) return 0;
    // Ragged: the edge wanders a little in and out, and worn thin patches
    // let the ground below show along it.
    const double edge = depth + 0.028 * ragged_.at(u, v).value + 0.012 * grain_.at(u, v).value;
    return smooth(soft_from, soft_to, edge);
}

double RoadPaint::shade(double u, double v) const {
    if (courses_.empty()) return 1;
    double depth, from_middle;
    place(u, v, depth, from_middle);
    const double across = from_middle / half_width();  // 0 in the middle, 1 at the edge
    // Two ruts where wheels run, broken up by the grain; the edge a little
    // darker where the ground below is trodden in.
    const double rut = std::exp(-std::pow((across - 0.52) / 0.14, 2)) * (0.75 + 0.25 * grain_.at(u, v).value);
    const double rim = smooth(0.75, 1.1, across);
    return std::clamp(0.93 - 0.17 * rut - 0.07 * rim + 0.06 * mottle_.at(u, v).value, 0.5, 1.0);
}

OverPixel RoadPaint::at(int i, int j) const {
    const double u = static_cast<double>(i) / h_, v = static_cast<double>(j) / h_;
    const double cover = coverage(u, v);
    if (cover <= 0) return {};
    const Colour texel = transition_land_texel(surface_, h_, i, j, set_point_shade(set_seed_, variant_, h_, i, j), {});
    // A dusty tint, so a track of any ground reads as trodden.
    const Colour colour = scale_colour(mix_colour(texel, dust, 0.18), shade(u, v));
    return {colour, static_cast<std::uint8_t>(std::lround(255 * cover))};
}
