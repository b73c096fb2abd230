// Transition sets through the renderer: the engine files' terrain data, and
// a map laid out by corners drawn by Tiled's own renderer.
#include "export/formats/transition_engine_files.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace {
using Corners = std::array<int, 4>;  // top, right, bottom, left; 0 A, 1 B

std::string text_of(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return {bytes.begin(), bytes.end()};
}

// Each tile's corners as the .tsx's wangids say, read the way Tiled reads
// them on an isometric map (slots 7, 1, 3, 5: the top, right, bottom and
// left corners; colour 1 is A).
std::map<int, Corners> tiled_corners(const std::string& tsx) {
    std::map<int, Corners> tiles;
    const std::regex tile(R"re(<wangtile tileid="(\d+)" wangid="(\d),(\d),(\d),(\d),(\d),(\d),(\d),(\d)"/>)re");
    for (std::sregex_iterator m(tsx.begin(), tsx.end(), tile), end; m != end; ++m) {
        int w[8];
        for (int s = 0; s < 8; ++s) w[s] = std::stoi((*m)[2 + s]);
        EXPECT_EQ(w[0] + w[2] + w[4] + w[6], 0) << "a corner set gives no edge colours";
        tiles[std::stoi((*m)[1])] = {w[7] - 1, w[1] - 1, w[3] - 1, w[5] - 1};
    }
    return tiles;
}

// Godot's text resource as key = value lines (the sections run together).
std::map<std::string, std::string> godot_keys(const fs::path& path) {
    std::map<std::string, std::string> keys;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const std::size_t eq = line.find(" = ");
        if (eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 3);
    }
    return keys;
}

class TransitionDir : public ::testing::Test {
protected:
    fs::path render_set(const std::string& terrains, int width, int variants, bool godot) {
        const fs::path sheet = dir_ / "set.png";
        std::vector<std::string> args = {"--kind",
                                         "transition",
                                         "--terrains",
                                         terrains,
                                         "--iso-width",
                                         std::to_string(width),
                                         "--variants",
                                         std::to_string(variants),
                                         "--seed",
                                         "11",
                                         "--transparent",
                                         "--sheet",
                                         sheet.string(),
                                         "--spacing",
                                         "3",
                                         "--margin",
                                         "2",
                                         "--tmx",
                                         (dir_ / "set.tmx").string()};
        if (godot) args.insert(args.end(), {"--godot", (dir_ / "set.tres").string()});
        EXPECT_EQ(run_render(args), 0);
        return sheet;
    }
    ScratchDir scratch_{"brannoc-transition-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(TransitionDir, TiledGodotAndTheManifestAgreeOnEveryTilesCorners) {
    const int variants = 2;
    const fs::path sheet = render_set("ground:3,water:5", 64, variants, true);
    const std::string tsx = text_of(dir_ / "set.tsx");
    EXPECT_NE(tsx.find("<wangset name=\"ground:3 / water:5\" type=\"corner\""), std::string::npos);
    EXPECT_NE(tsx.find("<wangcolor name=\"ground:3\" color=\"#"), std::string::npos);
    EXPECT_NE(tsx.find("<wangcolor name=\"water:5\" color=\"#"), std::string::npos);
    const std::map<int, Corners> tiled = tiled_corners(tsx);
    const std::map<std::string, std::string> godot = godot_keys(dir_ / "set.tres");
    EXPECT_EQ(godot.at("terrain_set_0/mode"), "1");
    EXPECT_EQ(godot.at("terrain_set_0/terrain_0/name"), "\"ground:3\"");
    EXPECT_EQ(godot.at("terrain_set_0/terrain_1/name"), "\"water:5\"");
    EXPECT_EQ(godot.count("terrain_set_0/terrain_1/color"), 1u);
    const nlohmann::json manifest = read_json(fs::path(sheet).replace_extension(".json"));
    ASSERT_EQ(manifest["tiles"].size(), 16u * variants);
    ASSERT_EQ(tiled.size(), 16u * variants);

    std::set<std::pair<Corners, int>> seen;
    for (const nlohmann::json& tile : manifest["tiles"]) {
        const int index = tile["index"];
        const Corners corners = tile["corners"].get<Corners>();
        EXPECT_EQ(tiled.at(index), corners) << "tile " << index;
        const std::string key =
            std::to_string(tile["cell"][0].get<int>()) + ":" + std::to_string(tile["cell"][1].get<int>()) + "/0/";
        const char* bits[4] = {"top_corner", "right_corner", "bottom_corner", "left_corner"};
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(godot.at(key + "terrains_peering_bit/" + bits[c]), std::to_string(corners[c])) << key << bits[c];
        EXPECT_EQ(godot.at(key + "terrain_set"), "0");
        seen.insert({corners, index / 16});
    }
    EXPECT_EQ(seen.size(), 16u * variants) << "every combination in every variant";
}

// Lays out an 8 x 8 map by corners, the way a Terrain brush would, from
// the .tsx alone; Tiled draws it; along every cell edge the terrain on the
// two sides agrees as often as across a line of the same length inside a
// tile. The same tiles laid out at random do not.
TEST_F(TransitionDir, TiledDrawsAMapLaidOutByCornersWithoutSeams) {
    constexpr int width = 64, h = width / 2, size = 8;
    const fs::path sheet = render_set("ground:10,water:0", width, 2, false);
    const std::map<int, Corners> tiled = tiled_corners(text_of(dir_ / "set.tsx"));
    std::map<Corners, std::vector<int>> by_corners;
    for (const auto& [id, corners] : tiled) by_corners[corners].push_back(id);

    std::mt19937 random(4);
    std::vector<int> grid((size + 1) * (size + 1));
    for (int& corner : grid) corner = static_cast<int>(random() % 2);
    std::vector<int> matched, shuffled;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Tiled's corners of cell (x, y) on an isometric map.
            const Corners c = {grid[y * (size + 1) + x], grid[y * (size + 1) + x + 1],
                               grid[(y + 1) * (size + 1) + x + 1], grid[(y + 1) * (size + 1) + x]};
            const std::vector<int>& ids = by_corners.at(c);
            matched.push_back(ids[random() % ids.size()]);
            shuffled.push_back(static_cast<int>(random() % tiled.size()));
        }

    // The pure tiles' mean hues tell the terrains apart.
    const Rgba set = read_rgba(sheet);
    const nlohmann::json layout = read_json(fs::path(sheet).replace_extension(".json"))["sheet"];
    auto mean_of = [&](int tile) {
        std::array<double, 3> sum{};
        int n = 0;
        const int x0 = 2 + (tile % layout["columns"].get<int>()) * (layout["cell_width"].get<int>() + 3);
        const int y0 = 2 + (tile / layout["columns"].get<int>()) * (layout["cell_height"].get<int>() + 3);
        for (int y = y0; y < y0 + layout["cell_height"].get<int>(); ++y)
            for (int x = x0; x < x0 + layout["cell_width"].get<int>(); ++x)
                if (set.at(x, y)[3] > 0)
                    ++n, sum[0] += set.at(x, y)[0], sum[1] += set.at(x, y)[1], sum[2] += set.at(x, y)[2];
        const double total = sum[0] + sum[1] + sum[2];
        for (double& s : sum) s /= total;  // the hue: each channel's share
        return sum;
    };
    const std::array<double, 3> mean_a = mean_of(0), mean_b = mean_of(15);

    // Agreement across the lines i = constant and j = constant of the map's
    // grid (in grid steps), at the cell edges or through the cells' middles.
    auto agreement = [&](const std::vector<int>& tiles, const std::string& name, bool at_edges) {
        std::ofstream map(dir_ / name);
        map << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"isometric\" "
               "renderorder=\"right-down\" width=\"8\" height=\"8\" tilewidth=\"64\" tileheight=\"32\" "
               "infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n <tileset firstgid=\"1\" source=\"set.tsx\"/>\n"
               " <layer id=\"1\" name=\"Tiles\" width=\"8\" height=\"8\">\n  <data encoding=\"csv\">\n";
        for (std::size_t k = 0; k < tiles.size(); ++k) map << tiles[k] + 1 << (k + 1 < tiles.size() ? "," : "\n");
        map << "</data>\n </layer>\n</map>\n";
        map.close();
        const fs::path png = dir_ / (name + ".png");
        const std::string command = "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + (dir_ / name).string() + "' '" +
                                    png.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
        const Rgba image = read_rgba(png);
        int top = image.height, left = image.width;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.at(x, y)[3] > 0) top = std::min(top, y), left = std::min(left, x);
        auto terrain = [&](int gi, int gj) {
            const std::uint8_t* p = image.at(left + size * h + gi - gj, top + (gi + gj) / 2);
            // By hue alone: the speckle darkens both terrains alike.
            const double sum = p[0] + p[1] + p[2] + 1e-9;
            double da = 0, db = 0;
            for (int c = 0; c < 3; ++c) {
                const double share = p[c] / sum;
                da += (share - mean_a[c]) * (share - mean_a[c]);
                db += (share - mean_b[c]) * (share - mean_b[c]);
            }
            return da < db;
        };
        int same = 0, pairs = 0;
        const int offset = at_edges ? 0 : h / 2;
        for (int line = 1; line < size; ++line)
            for (int along = 2; along < size * h - 2; ++along) {
                const int at = line * h + offset - (at_edges ? 0 : h);
                same += terrain(at - 2, along) == terrain(at + 2, along);
                same += terrain(along, at - 2) == terrain(along, at + 2);
                pairs += 2;
            }
        return static_cast<double>(same) / pairs;
    };
    const double edges = agreement(matched, "matched.tmx", true), inside = agreement(matched, "matched.tmx", false);
    const double random_edges = agreement(shuffled, "shuffled.tmx", true);
    const double random_inside = agreement(shuffled, "shuffled.tmx", false);
    EXPECT_GT(edges, inside - 0.02) << "edges " << edges << ", inside " << inside;
    EXPECT_LT(random_edges, random_inside - 0.1) << "at random: edges " << random_edges << ", inside " << random_inside;
}

// An over set never paints A: its swatch takes the colour of A's texture
// (not black), the same in both editors, and no clear tile stands for it.
TEST_F(TransitionDir, AnOverSetsTerrainAHasItsTexturesColour) {
    ASSERT_EQ(run_render({"--kind", "transition", "--over", "--terrains", "ground:3,water:5", "--count", "16",
                          "--sheet", (dir_ / "over.png").string(), "--godot", (dir_ / "over.tres").string()}),
              0);
    std::smatch tiled, godot;
    const std::string tsx = text_of(dir_ / "over.tsx"), tres = text_of(dir_ / "over.tres");
    ASSERT_TRUE(std::regex_search(
        tsx, tiled, std::regex(R"re(<wangcolor name="ground:3" color="#(..)(..)(..)" tile="(-?\d+)")re")));
    ASSERT_TRUE(
        std::regex_search(tres, godot, std::regex(R"(terrain_0/color = Color\(([\d.]+), ([\d.]+), ([\d.]+),)")));
    EXPECT_NE(tiled[1].str() + tiled[2].str() + tiled[3].str(), "000000");
    EXPECT_EQ(tiled[4], "-1");
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(std::stoi(tiled[1 + c], nullptr, 16), static_cast<int>(std::lround(std::stod(godot[1 + c]) * 255)));
}

TEST_F(TransitionDir, BadTerrainsAreOneLineExitTwoAndNothingWritten) {
    for (const char* terrains : {"lava:1,water:0", "ground:20,water:0", "ground:3,water:10", "rock:-1,ground:2",
                                 "ground:3,ground:3", "ground:3,water:0,rock:1", "ground:x,water:0"}) {
        const fs::path out = dir_ / "out";
        const ParsedCommandLine parsed =
            parse_args({"--kind", "transition", "--terrains", terrains, "--out", out.string()});
        EXPECT_FALSE(parsed.settings.has_value()) << terrains;
        EXPECT_EQ(parsed.exit_code, 2) << terrains;
        EXPECT_EQ(parsed.text.rfind("brannoc-render: --terrains: ", 0), 0u) << parsed.text;
        EXPECT_EQ(parsed.text.find('\n'), std::string::npos) << parsed.text;
        EXPECT_EQ(run_render({"--kind", "transition", "--terrains", terrains, "--out", out.string()}), 2);
        EXPECT_FALSE(fs::exists(out)) << terrains;
    }
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--kind", "transition"},
             {"--kind", "water", "--terrains", "ground:1,water:1"},
             {"--kind", "transition", "--terrains", "ground:1,water:1", "--variants", "0"},
             {"--kind", "transition", "--terrains", "ground:1,water:1", "--count", "5"}}) {
        const ParsedCommandLine parsed = parse_args(args);
        EXPECT_EQ(parsed.exit_code, 2) << args.back();
        EXPECT_EQ(parsed.text.find('\n'), std::string::npos) << parsed.text;
    }
}

// A fill set's own sample map (16 x 16, variants at random), drawn by Tiled:
// pixels one tile apart along a map axis differ nearly as much as pixels at
// random distances, inside the diamonds (away from the edge bands every
// variant shares), so a large area shows no grid. The .tsx and .tres hold a
// set of the one terrain.
TEST_F(TransitionDir, AFillSetRepeatsNoPatternAtTheTilePeriod) {
    for (const char* terrain : {"ground:3", "rock:2", "water:0"})
        for (const int width : {64, 128}) {
            SCOPED_TRACE(std::string(terrain) + " width " + std::to_string(width));
            ASSERT_EQ(run_render({"--kind", "transition", "--terrains", terrain, "--variants", "8", "--iso-width",
                                  std::to_string(width), "--seed", "5", "--transparent", "--sheet",
                                  (dir_ / "fill.png").string(), "--tmx", (dir_ / "fill.tmx").string(), "--godot",
                                  (dir_ / "fill.tres").string()}),
                      0);
            const std::string tsx = text_of(dir_ / "fill.tsx");
            EXPECT_EQ(tiled_corners(tsx).size(), 8u);
            EXPECT_NE(tsx.find("<wangset name=\"" + std::string(terrain) + "\" type=\"corner\""), std::string::npos);
            EXPECT_EQ(tsx.find("<wangcolor", tsx.find("<wangcolor") + 1), std::string::npos) << "one colour";
            const std::map<std::string, std::string> godot = godot_keys(dir_ / "fill.tres");
            EXPECT_EQ(godot.at("terrain_set_0/terrain_0/name"), "\"" + std::string(terrain) + "\"");
            EXPECT_EQ(godot.count("terrain_set_0/terrain_1/name"), 0u);

            const std::string command = "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + (dir_ / "fill.tmx").string() +
                                        "' '" + (dir_ / "fill_map.png").string() + "' >/dev/null 2>&1";
            ASSERT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
            const Rgba map = read_rgba(dir_ / "fill_map.png");
            int top = map.height;
            for (int y = 0; y < map.height && top == map.height; ++y)
                for (int x = 0; x < map.width; ++x)
                    if (map.at(x, y)[3] > 0) top = y;
            // The pixel at map position (x, y) in tile units, cell (0, 0)'s top corner at (width 8, top).
            auto pixel = [&](double x, double y) {
                return map.at(static_cast<int>(map.width / 2 + (x - y) * width / 2),
                              static_cast<int>(top + (x + y) * width / 4));
            };
            auto difference = [](const std::uint8_t* p, const std::uint8_t* q) {
                return std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
            };
            std::mt19937 random(9);
            std::uniform_real_distribution<double> inside(0.2, 0.8);
            std::uniform_int_distribution<int> cell(1, 14);
            double period = 0, apart = 0;
            const int samples = 6000;
            for (int s = 0; s < samples; ++s) {
                const double x = cell(random) + inside(random), y = cell(random) + inside(random);
                period += s % 2 ? difference(pixel(x, y), pixel(x + 1, y)) : difference(pixel(x, y), pixel(x, y - 1));
                apart += difference(pixel(x, y), pixel(cell(random) + inside(random), cell(random) + inside(random)));
            }
            EXPECT_GE(period, 0.8 * apart)
                << "one period apart " << period / samples << ", at random " << apart / samples;
        }
}
