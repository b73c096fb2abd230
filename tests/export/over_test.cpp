// Over tiles through the renderer, read back from their PNG sheets: laid
// source-over on the set's pure A tile they give the transition tile back.
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace fs = std::filesystem;

namespace {
// A sheet and its manifest: frame f of tile k, from its cell's top left.
struct ReadSheet {
    Rgba image;
    int columns = 1, cell_width = 0, cell_height = 0, frames = 1;
    explicit ReadSheet(const fs::path& png) : image(read_rgba(png)) {
        const nlohmann::json sheet = read_json(fs::path(png).replace_extension(".json"))["sheet"];
        columns = sheet["columns"].get<int>();
        cell_width = sheet["cell_width"].get<int>();
        cell_height = sheet["cell_height"].get<int>();
        if (sheet.contains("animation")) frames = sheet["animation"]["frames"].get<int>();
    }
    const std::uint8_t* at(int tile, int frame, int x, int y) const {
        const int cell = tile * frames + frame;
        return image.at(cell % columns * cell_width + x, cell / columns * cell_height + y);
    }
};

class OverDir : public ::testing::Test {
protected:
    fs::path render_set(const std::string& name, const std::string& terrains, std::vector<std::string> more) {
        const fs::path sheet = dir_ / (name + ".png");
        std::vector<std::string> args = {
            "--kind", "transition", "--terrains", terrains,        "--iso-width", "64",          "--variants",
            "2",      "--seed",     "11",         "--transparent", "--sheet",     sheet.string()};
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(run_render(args), 0) << terrains;
        return sheet;
    }
    ScratchDir scratch_{"brannoc-over-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

// Every tile of every pair (a shore both ways round, a rock step both ways,
// two waters moving), every frame: the over tile laid on the pure A tile of
// its variant is the transition tile within rounding, and where the
// transition tile shows A untouched the over tile lays nothing (a trace
// where a band fades out to less than a level of A's colour).
TEST_F(OverDir, OverTilesLaidOnPureAGiveTheTransitionTileBack) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> sets = {{"water:0,ground:3", {}},
                                                                                {"ground:3,water:0", {}},
                                                                                {"ground:3,rock:2", {}},
                                                                                {"rock:2,ground:3", {}},
                                                                                {"water:1,water:0", {"--frames", "3"}}};
    for (const auto& [terrains, more] : sets) {
        SCOPED_TRACE(terrains);
        std::vector<std::string> over_args = more;
        over_args.push_back("--over");
        const ReadSheet normal(render_set("normal", terrains, more)), over(render_set("over", terrains, over_args));
        ASSERT_EQ(normal.image.width, over.image.width);
        ASSERT_EQ(normal.image.height, over.image.height);
        int worst = 0, partial = 0, laid_on_pure_a = 0;
        for (int tile = 0; tile < 32; ++tile)
            for (int frame = 0; frame < normal.frames; ++frame)
                for (int y = 0; y < normal.cell_height; ++y)
                    for (int x = 0; x < normal.cell_width; ++x) {
                        const std::uint8_t* n = normal.at(tile, frame, x, y);
                        const std::uint8_t* a = normal.at(tile / 16 * 16, frame, x, y);
                        const std::uint8_t* o = over.at(tile, frame, x, y);
                        if (n[3] == 0) {
                            EXPECT_EQ(o[3], 0) << "tile " << tile << " at " << x << "," << y;
                            continue;
                        }
                        partial += o[3] > 0 && o[3] < 255;
                        if (std::memcmp(n, a, 3) == 0) laid_on_pure_a = std::max<int>(laid_on_pure_a, o[3]);
                        for (int k = 0; k < 3; ++k) {
                            const int laid = (o[k] * o[3] + a[k] * (255 - o[3]) + 127) / 255;
                            worst = std::max(worst, std::abs(laid - n[k]));
                        }
                    }
        EXPECT_LE(worst, 2);
        EXPECT_LE(laid_on_pure_a, 4) << "only rounding where the bands fade out";
        EXPECT_GT(partial, 32 * 20) << "the bands on A's side are partial alpha";
    }
}

// A tile's record draws the over tile again alone, as the world draws its
// over tiles one at a time.
TEST_F(OverDir, ATilesRecordDrawsTheOverTileAgain) {
    const ReadSheet over(render_set("over", "water:0,ground:3", {"--over"}));
    const nlohmann::json record = read_json(dir_ / "over.json")["tiles"][21];
    EXPECT_EQ(record["drawn"]["over"], true);
    std::ofstream(dir_ / "again.json") << record["drawn"].dump();
    ASSERT_EQ(run_render({"--settings", (dir_ / "again.json").string(), "--out", (dir_ / "again").string()}), 0);
    const Rgba again = read_rgba(dir_ / "again" / "transition-0000.png");
    const nlohmann::json redrawn = read_json(dir_ / "again" / "manifest.json")["tiles"][0];
    const nlohmann::json sheet = read_json(dir_ / "over.json")["sheet"];
    const int dx = sheet["anchor"][0].get<int>() - redrawn["anchor"][0].get<int>();
    const int dy = sheet["anchor"][1].get<int>() - redrawn["anchor"][1].get<int>();
    int differing = 0, partial = 0;
    for (int y = 0; y < again.height; ++y)
        for (int x = 0; x < again.width; ++x) {
            const std::uint8_t *p = again.at(x, y), *q = over.at(21, 0, x + dx, y + dy);
            partial += p[3] > 0 && p[3] < 255;
            differing += p[3] != q[3] || (p[3] > 0 && std::memcmp(p, q, 3) != 0);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(partial, 20);
}
