// brannoc-render world as a game developer runs it: Tiled draws the map
// exactly as we do, the tiles meet, and the same seed writes the same bytes.
#include "app/render/shard_merge.hpp"
#include "app/render/world_run.hpp"

#include "../support/godot_text.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {
namespace fs = std::filesystem;

int run_world_render(std::vector<std::string> args) {
    args.insert(args.begin(), "world");
    args.push_back("--quiet");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
    if (!parsed.settings) return parsed.exit_code;
    return run_world(*parsed.settings, stderr);
}

Rgba rasterize(const fs::path& map, const fs::path& png) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + map.string() + "' '" + png.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
    return read_rgba(png);
}

// The tile layers of a .tmx as Tiled reads them: each layer's gids.
std::vector<std::vector<std::uint32_t>> tmx_layers(const fs::path& map, int cells) {
    const std::vector<std::uint8_t> bytes = read_file(map);
    const std::string text(bytes.begin(), bytes.end());
    static const std::regex data("<data encoding=\"base64\" compression=\"zlib\">\\s*([A-Za-z0-9+/=]+)\\s*</data>");
    std::vector<std::vector<std::uint32_t>> layers;
    for (std::sregex_iterator it(text.begin(), text.end(), data), end; it != end; ++it) {
        const std::vector<std::uint8_t> packed = from_base64((*it)[1].str());
        std::vector<std::uint32_t> gids(static_cast<std::size_t>(cells));
        uLongf size = static_cast<uLongf>(gids.size() * 4);
        EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(gids.data()), &size,
                             reinterpret_cast<const Bytef*>(packed.data()), packed.size()),
                  Z_OK);
        layers.push_back(std::move(gids));
    }
    return layers;
}

std::map<std::string, std::vector<std::uint8_t>> folder_bytes(const fs::path& dir) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = read_file(entry.path());
    return files;
}
}  // namespace

TEST(WorldRun, TiledDrawsTheMapAsWeDoWithNoHoles) {
    const ScratchDir dir("brannoc-world-");
    for (const int width : {64, 128}) {
        const fs::path out = dir.path() / std::to_string(width);
        std::vector<std::string> args = {"--size",   "9x7",       "--seed",      "5",
                                         "--levels", "2",         "--iso-width", std::to_string(width),
                                         "--out",    out.string()};
        if (width == 64) args.insert(args.end(), {"--frames", "4"});
        ASSERT_EQ(run_world_render(args), 0);
        const Rgba ours = read_rgba(out / "world.png");
        const Rgba tiled = rasterize(out / "world.tmx", out / "tiled.png");
        ASSERT_EQ(ours.width, tiled.width);
        ASSERT_EQ(ours.height, tiled.height);
        std::size_t differing = 0;
        for (std::size_t k = 0; k < ours.pixels.size(); ++k) differing += ours.pixels[k] != tiled.pixels[k];
        EXPECT_EQ(differing, 0u) << "width " << width;
        // No hole inside the map's diamond (9 x 7 cells; the frame grows up
        // by the raised levels' offset).
        const int dw = width, dh = width / 2, top = ours.height - (9 + 7) * dh / 2;
        int holes = 0;
        for (int y = top + 1; y < ours.height - 1; ++y)
            for (int x = 1; x < ours.width - 1; ++x) {
                // Map coordinates of the pixel, in cells, from cell (0, 0)'s top corner at (7 dw/2, top).
                const double sx = (x + 0.5 - 7.0 * dw / 2) / dw, sy = (y + 0.5 - top) / dh;
                const double cx = sy + sx, cy = sy - sx;
                if (cx > 0.05 && cy > 0.05 && cx < 8.95 && cy < 6.95) holes += ours.at(x, y)[3] != 255;
            }
        EXPECT_EQ(holes, 0) << "width " << width;
    }
}

// The shared corners of every layer, read back as an editor reads them: the
// map's gids and each tile's Wang corners from the manifest. A corner is
// agreed when every tile of the layer touching it names the same terrain.
TEST(WorldRun, TilesAgreeOnEverySharedCorner) {
    const ScratchDir dir("brannoc-world-");
    constexpr int w = 20, h = 16;
    ASSERT_EQ(run_world_render({"--size", "20x16", "--seed", "21", "--iso-width", "64", "--out", dir.path().string()}),
              0);
    const nlohmann::json manifest = read_json(dir.path() / "world.json");
    // gid -> corners (top, right, bottom, left); the terrain tiles' tileset comes first.
    std::map<std::uint32_t, std::vector<int>> corners;
    for (const nlohmann::json& tile : manifest["tilesets"][0]["tiles"])
        corners[1 + tile["id"].get<std::uint32_t>()] = tile["corners"].get<std::vector<int>>();
    const std::vector<std::vector<std::uint32_t>> layers = tmx_layers(dir.path() / "world.tmx", w * h);
    ASSERT_EQ(layers.size(), manifest["layers"].size());
    int checked = 0;
    for (const std::vector<std::uint32_t>& gids : layers)
        for (int cy = 0; cy <= h; ++cy)
            for (int cx = 0; cx <= w; ++cx) {
                // The cells round corner (cx, cy), and which of their corners it is.
                const int around[4][3] = {{cx, cy, 0}, {cx - 1, cy, 1}, {cx - 1, cy - 1, 2}, {cx, cy - 1, 3}};
                int seen = -1;
                for (const auto& [x, y, corner] : around) {
                    if (x < 0 || y < 0 || x >= w || y >= h || gids[y * w + x] == 0) continue;
                    ASSERT_TRUE(corners.count(gids[y * w + x])) << "gid " << gids[y * w + x];
                    const int terrain = corners[gids[y * w + x]][corner];
                    if (seen >= 0) {
                        EXPECT_EQ(terrain, seen) << "corner " << cx << "," << cy;
                        ++checked;
                    }
                    seen = terrain;
                }
            }
    EXPECT_GT(checked, w * h);
}

// Chunks drawn apart and merged: Tiled opens the .world as the whole map.
TEST(WorldRun, ChunksMergeIntoTheWholeMap) {
    const ScratchDir dir("brannoc-world-");
    const std::vector<std::string> args = {"--size", "16x12", "--seed", "9", "--iso-width", "64"};
    std::vector<std::string> whole = args;
    whole.insert(whole.end(), {"--out", (dir.path() / "whole").string()});
    ASSERT_EQ(run_world_render(whole), 0);
    const fs::path chunks = dir.path() / "chunks";
    for (int k = 0; k < 4; ++k) {
        std::vector<std::string> a = args;
        a.insert(a.end(), {"--shard", std::to_string(k) + "/4", "--out", chunks.string()});
        ASSERT_EQ(run_world_render(a), 0);
    }
    // A chunk's files stay what it wrote: a changed one stops the merge.
    const std::vector<std::uint8_t> kept = read_file(chunks / "world_2.tmx");
    std::FILE* changed = std::fopen((chunks / "world_2.tmx").c_str(), "ab");
    std::fputs(" ", changed);
    std::fclose(changed);
    EXPECT_EQ(merge_shards(chunks.string(), stderr), 2);
    changed = std::fopen((chunks / "world_2.tmx").c_str(), "wb");
    std::fwrite(kept.data(), 1, kept.size(), changed);
    std::fclose(changed);
    ASSERT_EQ(merge_shards(chunks.string(), stderr), 0);

    const Rgba joined = rasterize(chunks / "world.world", dir.path() / "joined.png");
    const Rgba map = rasterize(dir.path() / "whole" / "world.tmx", dir.path() / "whole.png");
    // The whole map's frame grows up by its highest layer's offset.
    ASSERT_EQ(joined.width, map.width);
    ASSERT_LE(joined.height, map.height);
    // Qt rounds a partly covered tile pixel laid on another by a level
    // either way depending on the map it draws (the tiles' bytes are the
    // same), so a channel may differ by one.
    const int lift = map.height - joined.height;
    std::size_t differing = 0;
    for (int y = 0; y < joined.height; ++y)
        for (int x = 0; x < joined.width; ++x)
            for (int c = 0; c < 4; ++c) differing += std::abs(joined.at(x, y)[c] - map.at(x, y + lift)[c]) > 1;
    EXPECT_EQ(differing, 0u);
}

// Godot 3 opens the world's own scene and holds the map's cells and objects.
TEST(WorldRun, Godot3LoadsTheWorldsSceneWithItsCells) {
    const ScratchDir dir("brannoc-world-");
    constexpr int w = 10, h = 8;
    ASSERT_EQ(run_world_render({"--size", "10x8", "--seed", "21", "--iso-width", "64", "--out", dir.path().string()}),
              0);
    std::FILE* file = std::fopen((dir.path() / "project.godot").c_str(), "w");
    std::fputs("config_version=4\n\n[application]\n\nconfig/name=\"world\"\n", file);
    std::fclose(file);
    file = std::fopen((dir.path() / "cells.gd").c_str(), "w");
    std::fputs(
        "extends SceneTree\n"
        "func _init():\n"
        "\tvar root = load(\"res://world_godot3.tscn\").instance()\n"
        "\tfor node in root.get_children():\n"
        "\t\tif node is TileMap:\n"
        "\t\t\tfor c in node.get_used_cells():\n"
        "\t\t\t\tprint(\"cell %d %d %d\" % [c.x, c.y, node.get_cellv(c)])\n"
        "\t\telif node is YSort:\n"
        "\t\t\tprint(\"objects %d\" % node.get_child_count())\n"
        "\troot.free()\n"
        "\tquit(0)\n",
        file);
    std::fclose(file);
    const std::string godot =
        "cd '" + dir.path().string() + "' && HOME='" + dir.path().string() + "' timeout 120 godot3-server --path . ";
    ASSERT_EQ(std::system((godot + "--editor --quit >import.log 2>&1").c_str()), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    ASSERT_EQ(std::system((godot + "-s res://cells.gd >cells.log 2>&1").c_str()), 0);

    std::multiset<std::string> expected, read;
    for (const std::vector<std::uint32_t>& gids : tmx_layers(dir.path() / "world.tmx", w * h))
        for (int k = 0; k < w * h; ++k)
            if (gids[k] != 0)
                expected.insert("cell " + std::to_string(k % w) + " " + std::to_string(k / w) + " " +
                                std::to_string(gids[k] - 1));
    const nlohmann::json manifest = read_json(dir.path() / "world.json");
    expected.insert("objects " + std::to_string(manifest["objects"].size()));
    const std::vector<std::uint8_t> log = read_file(dir.path() / "cells.log");
    std::istringstream lines(std::string(log.begin(), log.end()));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("cell ", 0) == 0 || line.rfind("objects ", 0) == 0) read.insert(line);
    EXPECT_EQ(read, expected);
}

TEST(WorldRun, SameBytesWithAnyJobs) {
    const ScratchDir dir("brannoc-world-");
    const std::vector<std::string> args = {"--size", "8x8", "--seed", "11", "--iso-width", "64"};
    for (const char* jobs : {"1", "2"}) {
        std::vector<std::string> a = args;
        a.insert(a.end(), {"--jobs", jobs, "--out", (dir.path() / jobs).string()});
        ASSERT_EQ(run_world_render(a), 0);
    }
    EXPECT_EQ(folder_bytes(dir.path() / "1"), folder_bytes(dir.path() / "2"));
}

TEST(WorldRun, RefusesWhatCannotMakeAWorld) {
    const ScratchDir dir("brannoc-world-");
    const std::string out = (dir.path() / "w").string();
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--size", "0x5"},
                                                {"--size", "12"},
                                                {"--levels", "9"},
                                                {"--kind", "house"},
                                                {"--palette", "lunar"},
                                                {"--thresholds", "water=2"},
                                                {"--size", "2x2", "--shard", "0/9"},
                                                {"--flow", "30"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--out", out});
        EXPECT_EQ(run_world_render(args), 2) << bad[0];
    }
    EXPECT_FALSE(fs::exists(out + "/world.tmx"));
    EXPECT_EQ(run_render({"--kind", "house", "--size", "4x4", "--out", out}), 2);
}
