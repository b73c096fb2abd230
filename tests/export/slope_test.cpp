// Slope and cliff sets: their flat tiles and corner heights, and the sample
// hills drawn by Tiled's own renderer, whole, once a pixel a level and
// without seams.
#include "export/tile/lighting_maps.hpp"
#include "export/tile/tile_render.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>

namespace fs = std::filesystem;

namespace {
RenderSettings settings_of(std::vector<std::string> args) {
    const ParsedCommandLine parsed = parse_args(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    return parsed.settings.value_or(RenderSettings{});
}

std::string text_of(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return {bytes.begin(), bytes.end()};
}

Rgba rasterized(const fs::path& tmx, const std::string& text) {
    std::ofstream(tmx) << text;
    const fs::path png = fs::path(tmx).replace_extension(".png");
    const std::string command =
        "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + tmx.string() + "' '" + png.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
    return read_rgba(png);
}

struct HillReport {
    long twice = 0, holes = 0;
    double across_edges = 0, inside = 0;  // mean row step
};

// The sample map drawn whole, and each level's cells in four classes by the
// parity of their column and row (cells of a class never touch), to tell
// which tile painted each pixel.
HillReport check_hill(const fs::path& tmx) {
    const std::string map = text_of(tmx);
    const std::regex layer_re(R"re((<layer [^>]*>\n  <data encoding="csv">\n)([^<]*)(</data>))re");
    std::vector<std::smatch> layers;
    for (std::sregex_iterator m(map.begin(), map.end(), layer_re), end; m != end; ++m) layers.push_back(*m);
    EXPECT_EQ(layers.size(), 3u);
    std::smatch size;
    std::regex_search(map, size, std::regex("<map [^>]*? width=\"(\\d+)\""));
    const int n = size.empty() ? 0 : std::stoi(size[1]);
    const Rgba whole = rasterized(fs::path(tmx).replace_extension(".whole.tmx"), map);
    const int w = whole.width, h = whole.height;
    std::vector<int> owner(static_cast<std::size_t>(w) * h, -1);  // level x 4 + class
    HillReport report;
    for (std::size_t level = 0; level < layers.size(); ++level) {
        std::vector<std::string> cells;
        std::stringstream csv(layers[level][2].str());
        for (std::string cell; std::getline(csv, cell, ',');) cells.push_back(std::to_string(std::stoi(cell)));
        for (int cls = 0; cls < 4; ++cls) {
            std::string only = map;
            for (std::size_t other = layers.size(); other-- > 0;) {
                std::string data;
                for (int k = 0; k < n * n; ++k) {
                    const bool kept = other == level && (k % n % 2) * 2 + k / n % 2 == cls;
                    data += (kept ? cells[k] : "0") + (k + 1 < n * n ? "," : "\n");
                }
                only.replace(layers[other].position(2), layers[other].length(2), data);
            }
            const Rgba part = rasterized(fs::path(tmx).replace_extension(".part.tmx"), only);
            EXPECT_EQ(part.width, w);
            EXPECT_EQ(part.height, h);
            if (part.width != w || part.height != h) return report;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    if (part.at(x, y)[3] == 0) continue;
                    int& o = owner[static_cast<std::size_t>(y) * w + x];
                    if (o >= 0 && o / 4 == static_cast<int>(level)) ++report.twice;
                    o = static_cast<int>(level) * 4 + cls;
                }
        }
    }
    // The footprint: the level-0 diamond (the hill's border is level 0).
    int left = w, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (whole.at(x, y)[3] > 0)
                left = std::min(left, x), right = std::max(right, x), bottom = std::max(bottom, y);
    const double half = (right - left + 1) / 2.0, middle_x = left + half, middle_y = bottom + 1 - half / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (std::abs(x + 0.5 - middle_x) / 2 + std::abs(y + 0.5 - middle_y) <= half / 2 - 1.5 &&
                whole.at(x, y)[3] < 255)
                ++report.holes;
    long edges = 0, insides = 0;
    for (int y = 0; y + 1 < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = owner[static_cast<std::size_t>(y) * w + x],
                      b = owner[static_cast<std::size_t>(y + 1) * w + x];
            if (a < 0 || b < 0 || whole.at(x, y)[3] < 255 || whole.at(x, y + 1)[3] < 255) continue;
            int step = 0;
            for (int c = 0; c < 3; ++c) step += std::abs(whole.at(x, y)[c] - whole.at(x, y + 1)[c]);
            (a == b ? report.inside : report.across_edges) += step;
            ++(a == b ? insides : edges);
        }
    report.across_edges /= std::max(1L, edges);
    report.inside /= std::max(1L, insides);
    return report;
}
}  // namespace

TEST(SlopeSet, FlatTilesAreTheFlatGroundAndCornersStandAtTheirHeights) {
    auto app = std::make_unique<Application>(create_app_state());
    const std::vector<std::string> common = {"--iso-width", "64", "--seed", "7", "--transparent"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), common.begin(), common.end());
        return settings_of(args);
    };
    const RenderedTile flat = render_tile(*app, with({"--kind", "transition", "--terrains", "ground:3,ground:5"}), 0);
    RenderSettings slopes = with({"--kind", "slope", "--terrains", "ground:3"});
    slopes.heights = true;
    const int step = 8, half = 32;
    const RenderedTile low = render_tile(*app, slopes, 0), high = render_tile(*app, slopes, 15);
    // The same ground, pixel for pixel; the high tile a step up.
    long painted = 0;
    for (int y = 0; y < flat.image.height(); ++y)
        for (int x = 0; x < flat.image.width(); ++x) {
            if (flat.alpha[static_cast<std::size_t>(y) * flat.image.width() + x] == 0) continue;
            ++painted;
            const int lx = x - flat.anchor_x + low.anchor_x, ly = y - flat.anchor_y + low.anchor_y;
            ASSERT_EQ(low.alpha[static_cast<std::size_t>(ly) * low.image.width() + lx], 255) << x << "," << y;
            EXPECT_EQ(low.image.pixel(lx, ly), flat.image.pixel(x, y)) << x << "," << y;
            EXPECT_EQ(high.image.pixel(lx, ly - step), flat.image.pixel(x, y)) << x << "," << y;
        }
    EXPECT_GE(painted, half * half);
    // Each corner (a pixel in from its tip) stands at 0 or the step.
    for (int mask = 0; mask < 16; ++mask) {
        const RenderedTile tile = render_tile(*app, slopes, mask);
        const struct {
            int bit, dx, dy;
        } corners[] = {{1, 0, -half / 2 + 1}, {2, half - 1, 0}, {4, 0, half / 2 - 1}, {8, -half + 2, 0}};
        for (const auto& c : corners) {
            const int z = (mask & c.bit) ? step : 0;
            const int x = tile.anchor_x + c.dx, y = tile.anchor_y + c.dy - z;
            const int height = tile.lighting_maps.height_at(x, y);
            EXPECT_NEAR(height, z, 1) << "mask " << mask << " corner " << c.bit;
        }
    }
}

TEST(SlopeSet, SampleHillsAreWholeOncePaintedAndSeamlessInTiled) {
    ScratchDir scratch("brannoc-slope-");
    for (const bool cliff : {false, true})
        for (const int width : {64, 128}) {
            const std::string name = std::string(cliff ? "cliff" : "slope") + std::to_string(width);
            std::vector<std::string> args = {"--kind",
                                             "slope",
                                             "--terrains",
                                             cliff ? "ground:3,rock:2" : "ground:3",
                                             "--iso-width",
                                             std::to_string(width),
                                             "--variants",
                                             "2",
                                             "--transparent",
                                             "--sheet",
                                             (scratch.path() / (name + ".png")).string(),
                                             "--tmx",
                                             (scratch.path() / (name + ".tmx")).string()};
            if (cliff) args.push_back("--cliff");
            args.insert(args.end(), {"--godot", (scratch.path() / (name + ".tres")).string()});
            ASSERT_EQ(run_render(args), 0);
            // The editors' terrains are the levels, matched at the corners.
            const std::string tsx = text_of(scratch.path() / (name + ".tsx"));
            EXPECT_NE(tsx.find("<wangcolor name=\"low\""), std::string::npos);
            EXPECT_NE(tsx.find("<wangcolor name=\"high\""), std::string::npos);
            EXPECT_NE(tsx.find("<wangtile tileid=\"31\" wangid=\"0,2,0,2,0,2,0,2\"/>"), std::string::npos);
            const std::string tres = text_of(scratch.path() / (name + ".tres"));
            EXPECT_NE(tres.find("terrain_set_0/terrain_1/name = \"high\""), std::string::npos);
            const HillReport r = check_hill(scratch.path() / (name + ".tmx"));
            EXPECT_EQ(r.twice, 0) << name;
            EXPECT_EQ(r.holes, 0) << name;
            EXPECT_LT(r.across_edges, 1.2 * r.inside) << name << ": " << r.across_edges << " vs " << r.inside;
        }
}

TEST(SlopeSet, BadStepsAndTerrainsAreRefusedInOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        {"--kind", "slope", "--terrains", "ground:3", "--step", "7"},
        {"--kind", "slope", "--terrains", "ground:3", "--iso-width", "64", "--step", "18"},
        {"--kind", "house", "--step", "4"},
        {"--kind", "slope", "--terrains", "water:1"},
        {"--kind", "slope", "--cliff", "--terrains", "ground:3"},
        {"--kind", "slope", "--terrains", "ground:3,rock:1"},
        {"--kind", "slope"},
    };
    for (const auto& args : bad) {
        const ParsedCommandLine parsed = parse_args(args);
        EXPECT_FALSE(parsed.settings.has_value()) << args.back();
        EXPECT_EQ(parsed.exit_code, 2) << args.back();
        EXPECT_FALSE(parsed.text.empty());
        EXPECT_LE(std::count(parsed.text.begin(), parsed.text.end(), '\n'), 1) << parsed.text;
    }
}
