#include "generators/common/channel_shape.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};

// The depth a painter draws by: the channel kept off the edges it does not cross.
double painted(const ChannelShape& shape, ChannelShape::Banks banks, double u, double v) {
    return std::min(shape.at(u, v).depth, shape.free_distance(u, v) - banks.keep_off);
}

// Every channel of one edge in and another out, or a spring, at each width.
std::vector<RiverChannel> channels_crossing(int edge, int width) {
    std::vector<RiverChannel> all;
    for (const int other : edges) {
        if (other == edge) continue;
        for (const bool leaves : {false, true}) {
            RiverChannel c;
            c.in = static_cast<std::uint8_t>(leaves ? other : edge);
            c.out = static_cast<std::uint8_t>(leaves ? edge : other);
            c.widths[edge_index(edge)] = static_cast<std::uint8_t>(width);
            c.widths[edge_index(other)] = static_cast<std::uint8_t>(1 + (width + other) % channel_widths);
            all.push_back(c);
        }
    }
    RiverChannel spring;
    spring.out = static_cast<std::uint8_t>(edge);
    spring.widths[edge_index(edge)] = static_cast<std::uint8_t>(width);
    all.push_back(spring);
    return all;
}

// Two tiles a channel crosses between draw it at the same place and width
// on their shared edge (within a grid step), whatever else each does, at every width class, tile
// width and variant; its banks never reach an edge it does not cross.
TEST(ChannelShape, NeighboursMeetOnTheirSharedEdgeAndBanksKeepOffTheOthers) {
    for (const int half_width : {20, 32, 64, 100}) {
        const ChannelShape::Banks banks = channel_banks(half_width);
        for (int width = 1; width <= channel_widths; ++width)
            for (const RiverChannel& a : channels_crossing(edge_se, width))
                for (const RiverChannel& b : channels_crossing(edge_nw, width))
                    for (int variant = 0; variant < 3; ++variant) {
                        const ChannelShape left(a, 0, variant, banks), right(b, 0, variant + 1, banks);
                        for (int k = 1; k < half_width; ++k) {
                            const double v = static_cast<double>(k) / half_width;
                            const double da = painted(left, banks, 1.0, v), db = painted(right, banks, 0.0, v);
                            if (std::max(da, db) < -banks.reach) continue;  // dry ground on both sides
                            ASSERT_LT(std::abs(da - db), 1.0 / half_width)
                                << "width " << width << " at v " << v << " half width " << half_width;
                        }
                    }
        RiverChannel straight;
        straight.in = edge_nw, straight.out = edge_se;
        straight.widths = {0, channel_widths, 0, channel_widths};
        const ChannelShape shape(straight, 0, 1, banks);
        for (int k = 0; k <= half_width; ++k) {
            const double t = static_cast<double>(k) / half_width;
            EXPECT_LT(painted(shape, banks, t, 0.0) + banks.reach, 0.0) << "a bank on the ne edge";
            EXPECT_LT(painted(shape, banks, t, 1.0) + banks.reach, 0.0) << "a bank on the sw edge";
        }
    }
}
}  // namespace
