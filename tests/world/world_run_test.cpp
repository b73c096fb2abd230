// brannoc-render world as a game developer runs it: Tiled draws the map
// exactly as we do, the tiles meet, and the same seed writes the same bytes.
#include "app/render/shard_merge.hpp"
#include "app/render/world_run.hpp"
#include "generators/world/world_chunks.hpp"

#include "../support/godot_text.hpp"
#include "../support/godot3_run.hpp"
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

// world.png is Tiled's render of world.tmx, pixel for pixel, with no hole
// inside the map's diamond of w x h cells (the frame grows up by the raised
// levels' offset).
void expect_tiled_draws_it_whole(const fs::path& out, int width, int w, int h) {
    const Rgba ours = read_rgba(out / "world.png");
    const Rgba tiled = rasterize(out / "world.tmx", out / "tiled.png");
    ASSERT_EQ(ours.width, tiled.width) << "width " << width;
    ASSERT_EQ(ours.height, tiled.height) << "width " << width;
    std::size_t differing = 0;
    for (std::size_t k = 0; k < ours.pixels.size(); ++k) differing += ours.pixels[k] != tiled.pixels[k];
    EXPECT_EQ(differing, 0u) << "width " << width;
    const int dw = width, dh = width / 2, top = ours.height - (w + h) * dh / 2;
    int holes = 0;
    for (int y = top + 1; y < ours.height - 1; ++y)
        for (int x = 1; x < ours.width - 1; ++x) {
            // Map coordinates of the pixel, in cells, from cell (0, 0)'s top corner at (h dw/2, top).
            const double sx = (x + 0.5 - h * dw / 2.0) / dw, sy = (y + 0.5 - top) / dh;
            const double cx = sy + sx, cy = sy - sx;
            if (cx > 0.05 && cy > 0.05 && cx < w - 0.05 && cy < h - 0.05) holes += ours.at(x, y)[3] != 255;
        }
    EXPECT_EQ(holes, 0) << "width " << width;
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
        expect_tiled_draws_it_whole(out, width, 9, 7);
    }
}

// Every width the window draws, half of them of an odd tile height, over
// seeds whose objects stand on odd and even rows of several levels.
TEST(WorldRun, EveryWidthOfTheWindowDrawsAsTiledDoes) {
    const ScratchDir dir("brannoc-world-");
    for (int width = 40, k = 0; width <= 200; width += 10, ++k) {
        const fs::path out = dir.path() / std::to_string(width);
        ASSERT_EQ(run_world_render({"--size", "12x12", "--seed", std::to_string(2 + k % 3), "--levels", "2",
                                    "--variants", "1", "--iso-width", std::to_string(width), "--out", out.string()}),
                  0)
            << "width " << width;
        expect_tiled_draws_it_whole(out, width, 12, 12);
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

// Godot 3 opens the world's own folder, godot3/, as a project of its own
// without a word against any file, and its scene (moving water and normals
// too) holds the map's cells (moving ones at their first frame) and
// objects, each saying where it stands, every tile and sprite lit.
TEST(WorldRun, Godot3LoadsTheWorldsSceneWithItsCells) {
    const ScratchDir scratch("brannoc-world-");
    const fs::path& dir = scratch.path();
    constexpr int w = 10, h = 8;
    ASSERT_EQ(run_world_render({"--size", "10x8", "--seed", "21", "--iso-width", "64", "--frames", "4", "--normals",
                                "--out", dir.string()}),
              0);
    const fs::path project = dir / "godot3";
    std::FILE* file = std::fopen((project / "project.godot").c_str(), "w");
    std::fputs("config_version=4\n\n[application]\n\nconfig/name=\"world\"\n", file);
    std::fclose(file);
    file = std::fopen((project / "cells.gd").c_str(), "w");
    std::fputs(
        "extends SceneTree\n"
        "func _init():\n"
        "\tvar root = load(\"res://world.tscn\").instance()\n"
        "\tfor node in root.get_children():\n"
        "\t\tif node is TileMap:\n"
        "\t\t\tfor c in node.get_used_cells():\n"
        "\t\t\t\tvar id = node.get_cellv(c)\n"
        "\t\t\t\tvar lit = node.tile_set.tile_get_normal_map(id) != null\n"
        "\t\t\t\tprint(\"cell %s %d %d %d %s\" % [node.tile_set.resource_path.get_file(), c.x, c.y, id, lit])\n"
        "\t\telif node is YSort:\n"
        "\t\t\tfor sprite in node.get_children():\n"
        "\t\t\t\tvar at = [sprite.get_meta(\"cell_x\"), sprite.get_meta(\"cell_y\"), sprite.get_meta(\"level\")]\n"
        "\t\t\t\tprint(\"sprite %s %d %d %d\" % ([sprite.normal_map != null] + at))\n"
        "\troot.free()\n"
        "\tquit(0)\n",
        file);
    std::fclose(file);
    const std::string godot =
        "cd '" + project.string() + "' && HOME='" + dir.string() + "' timeout 120 godot3-server --path . ";
    ASSERT_EQ(import_godot3(project, dir), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    ASSERT_EQ(std::system((godot + "-s res://cells.gd >cells.log 2>&1").c_str()), 0);
    const std::vector<std::uint8_t> opened = read_file(project / "import.log");
    EXPECT_EQ(std::string(opened.begin(), opened.end()).find("res://"), std::string::npos)
        << std::string(opened.begin(), opened.end());

    // The map's tilesets by first gid: the Godot 3 TileSet beside each, and its frames a tile.
    const nlohmann::json manifest = read_json(dir / "world.json");
    const std::vector<std::uint8_t> tmx = read_file(dir / "world.tmx");
    const std::string tmx_text(tmx.begin(), tmx.end());
    static const std::regex tileset("<tileset firstgid=\"(\\d+)\" source=\"([^\"]+)\\.tsx\"");
    std::map<std::uint32_t, std::pair<std::string, int>, std::greater<>> sets;
    std::size_t k = 0;
    for (std::sregex_iterator it(tmx_text.begin(), tmx_text.end(), tileset), end; it != end; ++it, ++k)
        sets[std::stoul((*it)[1])] = {(*it)[2].str() + ".tres", manifest["tilesets"][k]["frames"].get<int>()};
    ASSERT_GE(sets.size(), 3u);  // tiles, water and objects
    std::multiset<std::string> expected, read;
    for (const std::vector<std::uint32_t>& gids : tmx_layers(dir / "world.tmx", w * h))
        for (int c = 0; c < w * h; ++c)
            if (gids[c] != 0) {
                const auto& [first, set] = *sets.lower_bound(gids[c]);
                expected.insert("cell " + set.first + " " + std::to_string(c % w) + " " + std::to_string(c / w) + " " +
                                std::to_string((gids[c] - first) / set.second) + " True");
            }
    for (const nlohmann::json& o : manifest["objects"])
        expected.insert("sprite True " + std::to_string(o["x"].get<int>()) + " " + std::to_string(o["y"].get<int>()) +
                        " " + std::to_string(o["level"].get<int>()));
    ASSERT_FALSE(manifest["objects"].empty());
    const std::vector<std::uint8_t> log = read_file(project / "cells.log");
    std::istringstream lines(std::string(log.begin(), log.end()));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("cell ", 0) == 0 || line.rfind("sprite ", 0) == 0) read.insert(line);
    EXPECT_EQ(read, expected);
}

// Every object of a chunk tells Tiled and Godot 4 its cell in the chunk's
// map and its level, as the manifest places it in the world.
TEST(WorldRun, ObjectsSayTheirCellAndLevel) {
    const ScratchDir dir("brannoc-world-");
    ASSERT_EQ(run_world_render({"--size", "16x16", "--seed", "2", "--iso-width", "64", "--shard", "3/4", "--out",
                                dir.path().string()}),
              0);
    const nlohmann::json manifest = read_json(dir.path() / "world_3.json");
    const int x0 = manifest["chunk"]["x"], y0 = manifest["chunk"]["y"];
    std::multiset<std::string> expected, tiled, godot;
    for (const nlohmann::json& o : manifest["objects"])
        expected.insert(std::to_string(o["x"].get<int>() - x0) + " " + std::to_string(o["y"].get<int>() - y0) + " " +
                        std::to_string(o["level"].get<int>()));
    ASSERT_FALSE(expected.empty());
    const auto text_of = [&](const char* file) {
        const std::vector<std::uint8_t> bytes = read_file(dir.path() / file);
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string tmx = text_of("world_3.tmx"), tscn = text_of("world_3.tscn");
    static const std::regex property(
        R"re(<object [^>]*>\s*<properties>\s*<property name="cell_x" type="int" value="(\d+)"/>\s*<property name="cell_y" type="int" value="(\d+)"/>\s*<property name="level" type="int" value="(\d+)"/>)re");
    for (std::sregex_iterator m(tmx.begin(), tmx.end(), property), end; m != end; ++m)
        tiled.insert((*m)[1].str() + " " + (*m)[2].str() + " " + (*m)[3].str());
    static const std::regex metadata(R"(metadata/cell_x = (\d+)\nmetadata/cell_y = (\d+)\nmetadata/level = (\d+)\n)");
    for (std::sregex_iterator m(tscn.begin(), tscn.end(), metadata), end; m != end; ++m)
        godot.insert((*m)[1].str() + " " + (*m)[2].str() + " " + (*m)[3].str());
    EXPECT_EQ(tiled, expected);
    EXPECT_EQ(godot, expected);
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
                                                {"--flow", "30"},
                                                {"--frame-ms", "80"},
                                                {"--thresholds", "water=0.4,water=0.45"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--out", out});
        EXPECT_EQ(run_world_render(args), 2) << bad[0];
    }
    EXPECT_FALSE(fs::exists(out + "/world.tmx"));
    EXPECT_EQ(run_render({"--kind", "house", "--size", "4x4", "--out", out}), 2);
}

// The chunk grid follows the world's shape: a long, thin world splits along its length.
TEST(WorldRun, ChunksFollowTheWorldsShape) {
    EXPECT_EQ(world_chunk_columns(1, 9, 3), 1);
    EXPECT_EQ(world_chunk_columns(9, 1, 2), 2);
    EXPECT_EQ(world_chunk_columns(16, 16, 8), 4);  // square worlds as before: the wider grid of two
    EXPECT_EQ(world_chunk_columns(2, 2, 9), 0);
    const WorldChunk last = world_chunk(1, 9, 1, 2);
    EXPECT_EQ(last.y0 + last.height, 9);
    EXPECT_EQ(last.width, 1);
}

// world.json holds what rebuilds the map: the world's own settings (and
// only those), each layer's cells as the map's gids, each object's cell and tile.
TEST(WorldRun, TheManifestHoldsTheCellsObjectsAndTheWorldsOwnSettings) {
    const ScratchDir dir("brannoc-world-");
    ASSERT_EQ(run_world_render({"--size", "10x8", "--seed", "21", "--iso-width", "64", "--variants", "2", "--out",
                                dir.path().string()}),
              0);
    const nlohmann::json m = read_json(dir.path() / "world.json");
    const nlohmann::json& settings = m["settings"];
    EXPECT_EQ(settings["variants"], 2);
    for (const char* tile_only : {"kind", "count", "trim", "format", "transparent"})
        EXPECT_FALSE(settings.contains(tile_only)) << tile_only;
    const std::vector<std::vector<std::uint32_t>> layers = tmx_layers(dir.path() / "world.tmx", 10 * 8);
    ASSERT_EQ(layers.size(), m["layers"].size());
    for (std::size_t k = 0; k < layers.size(); ++k) {
        std::vector<std::uint32_t> cells;
        for (const nlohmann::json& row : m["layers"][k]["cells"])
            for (const nlohmann::json& gid : row) cells.push_back(gid.get<std::uint32_t>());
        EXPECT_EQ(cells, layers[k]) << m["layers"][k]["name"];
    }
    ASSERT_FALSE(m["objects"].empty());
    const nlohmann::json& objects = m["tilesets"].back();
    for (const nlohmann::json& o : m["objects"]) {
        EXPECT_EQ(o["cell"], nlohmann::json::array({o["x"], o["y"]}));
        EXPECT_GE(o["gid"].get<int>(), objects["firstgid"].get<int>());
        EXPECT_LT(o["gid"].get<int>(), objects["firstgid"].get<int>() + static_cast<int>(objects["tiles"].size()));
    }
}
