// River channels through the renderer: over tiles paint the channel alone,
// up to the shore the set's own tile draws, and bad channels are refused.
#include "../support/render_run.hpp"

#include "export/tile/channel_text.hpp"
#include "generators/common/diamond_mapping.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
constexpr int half = 32;  // width 64

// The alpha over grid point (i, j) of a tile drawn alone.
int alpha_at(const Rgba& tile, int i, int j) {
    const CanvasPoint p = diamond_pixel(half, i, j);
    return tile.at(p.x, p.y)[3];
}

Rgba channel_tile(const fs::path& out, const std::string& channel, int set_tile) {
    EXPECT_EQ(run_render({"--kind", "transition", "--terrains", "water:0,ground:10", "--channel", channel, "--over",
                          "--set-tile", std::to_string(set_tile), "--iso-width", "64", "--seed", "3", "--out",
                          out.string()}),
              0);
    return read_rgba(out / "transition-0000.png");
}
}  // namespace

TEST(ChannelTiles, OverTilesPaintTheChannelAloneUpToTheSetsShore) {
    const ScratchDir dir("brannoc-channel-");
    // All land: the water crosses the nw edge at its middle; the ne edge's
    // middle, which it does not cross, stays clear.
    const Rgba through = channel_tile(dir.path() / "through", "nw>se", 15);
    EXPECT_EQ(alpha_at(through, 1, half / 2), 255);
    EXPECT_EQ(alpha_at(through, half - 2, half / 2), 255);
    EXPECT_EQ(alpha_at(through, half / 2, 1), 0);
    // Water at the bottom and left corners: the set's own tile draws it, so
    // the channel leaves it be and only runs into it.
    const Rgba mouth = channel_tile(dir.path() / "mouth", "ne>", 3);
    EXPECT_EQ(alpha_at(mouth, half / 2, 1), 255);
    EXPECT_EQ(alpha_at(mouth, half / 2, half * 3 / 4), 0);
}

TEST(ChannelTiles, ChannelsReadBackAndBadOnesAreRefused) {
    RiverChannel c;
    ASSERT_FALSE(read_channel("nw,ne:2>se:3", c));
    EXPECT_EQ(c.in, edge_nw | edge_ne);
    EXPECT_EQ(c.out, edge_se);
    EXPECT_EQ(c.width(edge_se), 3);
    EXPECT_EQ(channel_text(c), "ne:2,nw>se:3");
    EXPECT_EQ(channel_flow(c), "se");
    for (const char* bad : {"nw>nw", "ne>se,sw", "up>se", ">", "nw>se:4", "nw"}) EXPECT_TRUE(read_channel(bad, c)) << bad;

    const ScratchDir dir("brannoc-channel-");
    const std::string out = (dir.path() / "t").string();
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--kind", "house", "--channel", "nw>se"},
          {"--kind", "transition", "--terrains", "ground:10,water:0", "--channel", "nw>se"},
          {"--kind", "slope", "--terrains", "ground:2,water:1"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--out", out});
        EXPECT_EQ(run_render(args), 2) << bad[1] << " " << bad[3];
    }
    EXPECT_EQ(run_render({"--kind", "slope", "--terrains", "ground:2,rock:1,water:1", "--cliff", "--channel", "nw>se",
                          "--frames", "3", "--set-tile", "9", "--out", out}),
              0);
}
