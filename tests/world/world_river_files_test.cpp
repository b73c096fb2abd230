// A world's rivers in the engines' files: Tiled draws them as we do, still
// and at frame 0 of moving water; chunks hold the whole world's rivers;
// Godot 3 loads their layers; the tiles say where the water runs.
#include "app/render/shard_merge.hpp"
#include "app/render/world_run.hpp"

#include "../support/godot_text.hpp"
#include "../support/godot3_run.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>

namespace {
namespace fs = std::filesystem;

// A small world with a river that runs over rapids and falls to the sea.
const std::vector<std::string> river_world = {"--size",   "24x20", "--seed",           "8",
                                              "--levels", "4",     "--river-threshold", "6"};

int run_river_world(std::vector<std::string> args) {
    args.insert(args.begin(), river_world.begin(), river_world.end());
    return run_world_render(std::move(args));
}

std::string text_of(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

TEST(WorldRiverFiles, TiledDrawsTheRiversAsWeDoAndTheirTilesSayWhereTheWaterRuns) {
    const ScratchDir dir("brannoc-rivers-");
    for (const int width : {64, 128}) {
        const fs::path out = dir.path() / std::to_string(width);
        std::vector<std::string> args = {"--iso-width", std::to_string(width), "--out", out.string()};
        if (width == 64) args.insert(args.end(), {"--frames", "4"});
        ASSERT_EQ(run_river_world(args), 0);
        const nlohmann::json manifest = read_json(out / "world.json");
        ASSERT_FALSE(manifest["rivers"].empty());
        for (const char* kind : {"river", "rapids", "waterfall"}) EXPECT_GT(manifest["tile_counts"][kind], 0) << kind;
        int river_layers = 0;
        for (const nlohmann::json& layer : manifest["layers"])
            river_layers += layer["name"].get<std::string>().find("_rivers") != std::string::npos;
        EXPECT_GE(river_layers, 2);

        const Rgba ours = read_rgba(out / "world.png");
        const Rgba tiled = rasterize(out / "world.tmx", out / "tiled.png");
        ASSERT_EQ(ours.width, tiled.width);
        ASSERT_EQ(ours.height, tiled.height);
        std::size_t differing = 0;
        for (std::size_t k = 0; k < ours.pixels.size(); ++k) differing += ours.pixels[k] != tiled.pixels[k];
        EXPECT_EQ(differing, 0u) << "width " << width;
        if (width != 64) continue;

        // Moving river tiles carry their flow to Tiled and Godot 4, whose
        // custom data layer is declared before the atlas joins the TileSet.
        const std::string tsx = text_of(out / "world_water.tsx");
        EXPECT_NE(tsx.find("<property name=\"flow\" value=\""), std::string::npos);
        const std::vector<GodotSection> tres = read_godot_resource(out / "world_water.tres");
        const GodotSection& resource = tres.back();
        ASSERT_EQ(resource.header, "[resource]");
        std::string n = "0";
        for (int k = 0; resource.keys.count("custom_data_layer_" + std::to_string(k) + "/name"); ++k)
            if (resource.keys.at("custom_data_layer_" + std::to_string(k) + "/name") == "\"flow\"") n = std::to_string(k);
        EXPECT_EQ(resource.keys.at("custom_data_layer_" + n + "/name"), "\"flow\"");
        EXPECT_EQ(resource.keys.at("custom_data_layer_" + n + "/type"), "4");
        const std::string text = text_of(out / "world_water.tres");
        EXPECT_LT(text.find("custom_data_layer_" + n + "/name"), text.find("sources/0"));
        int flows = 0;
        for (const auto& [key, value] : tres[tres.size() - 2].keys)
            if (key.ends_with("/custom_data_" + n)) {
                EXPECT_TRUE(value == "\"ne\"" || value == "\"se\"" || value == "\"sw\"" || value == "\"nw\"") << value;
                ++flows;
            }
        EXPECT_GT(flows, 0);
    }
}

// Chunks drawn apart list the whole world's rivers, and merged they draw
// the whole map, rivers and all.
TEST(WorldRiverFiles, ChunksHoldTheWholeWorldsRivers) {
    const ScratchDir dir("brannoc-rivers-");
    ASSERT_EQ(run_river_world({"--iso-width", "64", "--out", (dir.path() / "whole").string()}), 0);
    const fs::path chunks = dir.path() / "chunks";
    for (int k = 0; k < 4; ++k)
        ASSERT_EQ(run_river_world({"--iso-width", "64", "--shard", std::to_string(k) + "/4", "--out", chunks.string()}),
                  0);
    const nlohmann::json whole = read_json(dir.path() / "whole" / "world.json");
    for (int k = 0; k < 4; ++k) {
        const nlohmann::json part = read_json(chunks / ("world_" + std::to_string(k) + ".json"));
        EXPECT_EQ(part["rivers"], whole["rivers"]) << "chunk " << k;
        EXPECT_EQ(part["lakes"], whole["lakes"]) << "chunk " << k;
    }
    ASSERT_EQ(merge_shards(chunks.string(), stderr), 0);
    const Rgba joined = rasterize(chunks / "world.world", dir.path() / "joined.png");
    const Rgba map = rasterize(dir.path() / "whole" / "world.tmx", dir.path() / "whole.png");
    ASSERT_EQ(joined.width, map.width);
    ASSERT_LE(joined.height, map.height);
    const int lift = map.height - joined.height;
    // Tiled lays two chunks' overlapping part-transparent tiles in another
    // order than one map's layers, which may round a channel by one.
    std::size_t differing = 0;
    for (int y = 0; y < joined.height; ++y)
        for (int x = 0; x < joined.width; ++x) {
            const std::uint8_t *a = joined.at(x, y), *b = map.at(x, y + lift);
            for (int c = 0; c < 4; ++c) differing += std::abs(a[c] - b[c]) > 1;
        }
    EXPECT_EQ(differing, 0u);
}

// Godot 3 opens the scene with its river layers and their cells.
TEST(WorldRiverFiles, Godot3LoadsTheRiverLayers) {
    const ScratchDir dir("brannoc-rivers-");
    ASSERT_EQ(run_river_world({"--iso-width", "64", "--out", dir.path().string()}), 0);
    const fs::path project = dir.path() / "godot3";
    std::FILE* file = std::fopen((project / "project.godot").c_str(), "w");
    std::fputs("config_version=4\n\n[application]\n\nconfig/name=\"world\"\n", file);
    std::fclose(file);
    file = std::fopen((project / "layers.gd").c_str(), "w");
    std::fputs(
        "extends SceneTree\n"
        "func _init():\n"
        "\tvar root = load(\"res://world.tscn\").instance()\n"
        "\tfor node in root.get_children():\n"
        "\t\tif node is TileMap:\n"
        "\t\t\tprint(\"layer %s %d\" % [node.name, node.get_used_cells().size()])\n"
        "\troot.free()\n"
        "\tquit(0)\n",
        file);
    std::fclose(file);
    const std::string godot =
        "cd '" + project.string() + "' && HOME='" + dir.path().string() + "' timeout 120 godot3-server --path . ";
    ASSERT_EQ(import_godot3(project, dir.path()), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    ASSERT_EQ(std::system((godot + "-s res://layers.gd >layers.log 2>&1").c_str()), 0);

    std::set<std::string> expected, read;
    const nlohmann::json manifest = read_json(dir.path() / "world.json");
    for (const nlohmann::json& layer : manifest["layers"])
        if (layer["name"].get<std::string>().find("_rivers") != std::string::npos)
            expected.insert("layer " + layer["name"].get<std::string>() + " " + std::to_string(layer["placed"].get<int>()));
    ASSERT_FALSE(expected.empty());
    std::istringstream lines(text_of(project / "layers.log"));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("layer ", 0) == 0 && line.find("_rivers") != std::string::npos) read.insert(line);
    EXPECT_EQ(read, expected);
}
