// A road's track: two pieces whose shared edge it crosses cover and darken
// it alike, whatever else each does, and it keeps off the edges it does not
// cross.
#include "generators/transition/road_paint.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr int edges[4] = {edge_ne, edge_se, edge_sw, edge_nw};

// Every track that crosses `edge`: with any of the other edges.
std::vector<RoadTrack> tracks_crossing(int edge) {
    std::vector<RoadTrack> all;
    for (int others = 0; others < 16; ++others)
        if (!(others & edge)) all.push_back({static_cast<std::uint8_t>(others | edge), false});
    return all;
}
}  // namespace

TEST(RoadPaint, NeighboursMeetOnTheirSharedEdgeAndTheTrackKeepsOffTheOthers) {
    const RasterImage sheet(640, 640, rgb(120, 100, 80));
    const TransitionTerrain earth{TerrainKind::ground, 4};
    const int h = 32;
    // se of one cell against nw of the next, then sw against ne.
    for (const auto& [edge, u_fixed] : {std::pair{edge_se, true}, std::pair{edge_sw, false}})
        for (const RoadTrack& a : tracks_crossing(edge))
            for (const RoadTrack& b : tracks_crossing(opposite_edge(edge)))
                for (int variant = 0; variant < 2; ++variant) {
                    const RoadPaint first(sheet, earth, a, 5, variant, h), second(sheet, earth, b, 5, variant + 1, h);
                    double widest = 0;
                    for (int k = 0; k <= 200; ++k) {
                        const double s = k / 200.0;
                        const double ua = u_fixed ? 1.0 : s, va = u_fixed ? s : 1.0;
                        const double ub = u_fixed ? 0.0 : s, vb = u_fixed ? s : 0.0;
                        const double ca = first.coverage(ua, va), cb = second.coverage(ub, vb);
                        ASSERT_NEAR(ca, cb, 0.03) << int(a.edges) << " to " << int(b.edges) << " at " << s;
                        if (ca > 0.5) {
                            ASSERT_NEAR(first.shade(ua, va), second.shade(ub, vb), 0.01) << s;
                            widest = std::max(widest, std::abs(s - 0.5));
                        }
                    }
                    // A quarter to a third of the edge, about its middle.
                    EXPECT_GT(widest, 0.11);
                    EXPECT_LT(widest, 0.17);
                }
    // The middles of the edges a road's end does not cross stay bare.
    for (const int edge : edges) {
        const RoadPaint end(sheet, earth, {static_cast<std::uint8_t>(edge), false}, 5, 0, h);
        const double middles[4][2] = {{0.5, 0.0}, {1.0, 0.5}, {0.5, 1.0}, {0.0, 0.5}};
        for (int k = 0; k < 4; ++k) {
            const double c = end.coverage(middles[k][0], middles[k][1]);
            if (edges[k] == edge) EXPECT_EQ(c, 1.0);
            else EXPECT_EQ(c, 0.0);
        }
        EXPECT_GT(end.coverage(0.5, 0.5), 0.5) << "the end reaches the middle";
    }
}
