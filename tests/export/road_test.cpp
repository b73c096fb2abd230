// Road pieces through the renderer: a slope's track lies on its surface and
// meets the flat pieces at its low and high edges, a bridge's deck meets
// the track, and a road draws again from its settings; bad roads are
// refused.
#include "../support/render_run.hpp"

#include "export/tile/road_text.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/common/diamond_mapping.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {
constexpr int half = 32;  // width 64
constexpr int step = 8;   // its slopes' default

RenderSettings settings_of(std::vector<std::string> args) {
    args.insert(args.end(), {"--iso-width", "64", "--seed", "4"});
    const ParsedCommandLine parsed = parse_args(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    return parsed.settings.value_or(RenderSettings{});
}

// The alpha over grid point (i, j) of a tile, `lift` pixels up.
int alpha_at(const RenderedTile& tile, int i, int j, int lift = 0) {
    const CanvasPoint p = diamond_pixel(half, i, j);
    const int x = p.x - TileGeometry::centre_x + tile.anchor_x, y = p.y - lift - TileGeometry::ground_y + tile.anchor_y;
    return tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x];
}

// The run of grid points of row j (or column i) at least `least` opaque
// about the edge's middle: its first and last.
std::pair<int, int> span_at(const RenderedTile& tile, bool row, int fixed, int least) {
    const auto at = [&](int k) { return row ? alpha_at(tile, k, fixed) : alpha_at(tile, fixed, k); };
    int first = half / 2, last = half / 2;
    if (at(first) < least) return {-1, -1};
    while (first > 0 && at(first - 1) >= least) --first;
    while (last < half - 1 && at(last + 1) >= least) ++last;
    return {first, last};
}
}  // namespace

TEST(RoadTiles, ASlopesTrackLiesOnItsSurfaceAndMeetsTheFlatPieceAtBothEdges) {
    auto app = std::make_unique<Application>(create_app_state());
    const std::vector<std::string> over = {"--terrains", "ground:10,ground:4", "--over", "--road", "ne,sw"};
    std::vector<std::string> flat_args = {"--kind", "transition", "--set-tile", "0"}, slope_args = {"--kind", "slope", "--set-tile", "3"};
    flat_args.insert(flat_args.end(), over.begin(), over.end());
    slope_args.insert(slope_args.end(), over.begin(), over.end());
    const RenderedTile flat = render_tile(*app, settings_of(flat_args), 0);
    // Top and right corners high: the ne edge a step up, the sw edge low.
    const RenderedTile slope = render_tile(*app, settings_of(slope_args), 0);
    int tracked = 0;
    for (int i = 0; i < half; ++i) {
        EXPECT_NEAR(alpha_at(slope, i, half - 1), alpha_at(flat, i, half - 1), 40) << "low edge at " << i;
        EXPECT_NEAR(alpha_at(slope, i, 0, step), alpha_at(flat, i, 0), 40) << "high edge at " << i;
        tracked += alpha_at(flat, i, 0) == 255;
    }
    EXPECT_GT(tracked, 4);
    // Halfway up, the track stands half a step above the flat one.
    EXPECT_EQ(alpha_at(slope, half / 2, half / 2, step / 2), 255);
    EXPECT_EQ(alpha_at(flat, half / 2, half / 2), 255);
    EXPECT_EQ(alpha_at(slope, half / 2, 2), 0) << "nothing but the track";
}

TEST(RoadTiles, ABridgesDeckMeetsTheTrackAtBothEnds) {
    auto app = std::make_unique<Application>(create_app_state());
    for (const auto& [edges, row] : {std::pair{"se,nw", false}, std::pair{"ne,sw", true}}) {
        const std::vector<std::string> common = {"--kind", "transition", "--terrains", "water:0,ground:10", "--over",
                                                 "--set-tile", "0", "--road"};
        std::vector<std::string> road_args = common, bridge_args = common;
        road_args.push_back(edges);
        bridge_args.push_back(std::string(edges) + ":bridge");
        const RenderedTile road = render_tile(*app, settings_of(road_args), 0);
        const RenderedTile bridge = render_tile(*app, settings_of(bridge_args), 0);
        for (const int fixed : {0, half - 1}) {
            const auto [road_first, road_last] = span_at(road, row, fixed, 128);
            const auto [deck_first, deck_last] = span_at(bridge, row, fixed, 255);
            ASSERT_GE(road_first, 0) << edges;
            ASSERT_GE(deck_first, 0) << edges;
            EXPECT_NEAR(deck_first, road_first, 2) << edges << " at " << fixed;
            EXPECT_NEAR(deck_last, road_last, 2) << edges << " at " << fixed;
        }
        // Opaque planks over the middle; the water beside them left to the tile below.
        EXPECT_EQ(alpha_at(bridge, half / 2, half / 2), 255);
        EXPECT_EQ(row ? alpha_at(bridge, 2, half / 2) : alpha_at(bridge, half / 2, 2), 0) << edges;
    }
}

TEST(RoadTiles, ARoadDrawsAgainFromItsSettingsAndBadRoadsAreRefused) {
    auto app = std::make_unique<Application>(create_app_state());
    const ScratchDir dir("brannoc-road-");
    for (const char* road : {"ne,se,nw", "se,nw:bridge"}) {
        const RenderedTile first = render_tile(
            *app, settings_of({"--kind", "transition", "--terrains", "water:0,ground:3", "--road", road, "--set-tile", "6"}), 0);
        EXPECT_EQ(first.drawn["road"], road);
        std::ofstream(dir.path() / "again.json") << first.drawn.dump();
        const ParsedCommandLine again = parse_args({"--settings", (dir.path() / "again.json").string()});
        ASSERT_TRUE(again.settings.has_value()) << again.text;
        const RenderedTile second = render_tile(*app, *again.settings, 0);
        EXPECT_EQ(second.alpha, first.alpha) << road;
        EXPECT_TRUE(second.image == first.image) << road;
    }

    RoadTrack track;
    ASSERT_FALSE(read_road("sw,ne:bridge", track));
    EXPECT_EQ(track.edges, edge_ne | edge_sw);
    EXPECT_TRUE(track.bridge);
    EXPECT_EQ(road_text(track), "ne,sw:bridge");
    for (const char* bad : {"", "up", "ne,ne", "ne:bridges", "ne,se:bridge", "se:bridge", ":bridge", "ne,"})
        EXPECT_TRUE(read_road(bad, track)) << bad;
    const std::string out = (dir.path() / "t").string();
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--kind", "house", "--road", "ne,sw"},
          {"--kind", "slope", "--terrains", "ground:2,rock:1", "--cliff", "--road", "ne,sw"},
          {"--kind", "slope", "--terrains", "ground:2", "--road", "ne,sw:bridge"},
          {"--kind", "transition", "--terrains", "ground:2,water:0", "--road", "ne,sw"},
          {"--kind", "transition", "--terrains", "water:0,ground:2", "--road", "nw>se"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--out", out});
        EXPECT_EQ(run_render(args), 2) << bad[1] << " " << bad.back();
    }
}
