// The world's engine files: the Godot 3 scene loaded by a real Godot
// (godot3-server), the Godot 4 scene read by Godot's loader rules, and the
// .world of chunk maps drawn by Tiled's own renderer.
#include "export/formats/godot_chunks.hpp"
#include "export/formats/world_file.hpp"
#include "export/formats/world_godot.hpp"
#include "export/formats/world_godot3.hpp"
#include "../support/godot_text.hpp"
#include "../support/godot3_run.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {
std::string text_of(const fs::path& path) {
    const std::vector<std::uint8_t> bytes = read_file(path);
    return {bytes.begin(), bytes.end()};
}
void write_text(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A rendered sheet as the map model holds it, read back from its manifest and .tsx.
MapTileset tileset_of(const fs::path& sheet, int first_gid) {
    const nlohmann::json manifest = read_json(fs::path(sheet).replace_extension(".json"));
    const nlohmann::json& s = manifest["sheet"];
    MapTileset t;
    t.name = sheet.stem().string();
    t.source = sheet.stem().string() + ".tsx";
    t.first_gid = first_gid;
    t.tile_count = static_cast<int>(manifest["tiles"].size());
    t.columns = s["columns"];
    t.tile_width = s["cell_width"];
    t.tile_height = s["cell_height"];
    t.spacing = s["spacing"];
    t.margin = s["margin"];
    std::smatch m;
    const std::string tsx = text_of(fs::path(sheet).replace_extension(".tsx"));
    std::regex_search(tsx, m, std::regex(R"re(<tileoffset x="(-?\d+)" y="(-?\d+)")re"));
    t.offset_x = std::stoi(m[1]);
    t.offset_y = std::stoi(m[2]);
    return t;
}

// Where Tiled draws an image's top-left: a layer's tile in cell (x, y), and
// a tile object; in map pixels less `shift` across (the engine's frame).
std::pair<int, int> tiled_tile_corner(const MapModel& map, const MapTileset& t, int x, int y, int shift) {
    const int top_x = (x - y) * map.tile_width / 2 + map.height * map.tile_width / 2;
    return {top_x - map.tile_width / 2 + t.offset_x - shift,
            (x + y) * map.tile_height / 2 + map.tile_height - t.tile_height + t.offset_y};
}
std::pair<int, int> tiled_object_corner(const MapModel& map, const MapTileset& t, const MapObject& o, int shift) {
    const int ax = static_cast<int>(o.x) / map.tile_height, ay = static_cast<int>(o.y) / map.tile_height;
    const int x = (ax - ay) * map.tile_width / 2 + map.height * map.tile_width / 2;
    return {x - t.tile_width / 2 + t.offset_x - shift, (ax + ay) * map.tile_height / 2 - t.tile_height + t.offset_y};
}

// Ground (four terrain tiles) and trees (three), each with both engines'
// TileSets, and a 5 x 4 map: a ground layer, a layer mixing trees into
// the ground, and trees standing as objects, one on the bottom corner of
// the cell whose tree the mixed layer draws.
class WorldGodot : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [kind, count] : {std::pair{"terrain", "4"}, {"tree", "3"}})
            ASSERT_EQ(
                run_render({"--kind", kind, "--count", count, "--iso-width", "64", "--seed", "3", "--spacing", "2",
                            "--margin", "1", "--sheet", (dir_ / "art" / (std::string(kind) + ".png")).string(),
                            "--godot", (dir_ / "tiles" / (std::string(kind) + ".tres")).string(), "--godot3",
                            (dir_ / "tiles" / (std::string(kind) + "3.tres")).string()}),
                0);
        map_.width = 5;
        map_.height = 4;
        map_.tile_width = 64;
        map_.tile_height = 32;
        map_.tilesets = {tileset_of(dir_ / "art" / "terrain.png", 1), tileset_of(dir_ / "art" / "tree.png", 5)};
        MapTileLayer ground{"ground", 0, 0, {}};
        for (int k = 0; k < 20; ++k) ground.gids.push_back(1 + (k * 3) % 4);
        MapTileLayer mixed{"level1 mixed", 0, -8, std::vector<std::uint32_t>(20, 0)};
        mixed.gids[1 * 5 + 2] = 7;  // a tree in cell (2, 1)
        mixed.gids[3 * 5 + 4] = 2;
        MapObjectLayer trees{"objects", 0, 0, {}};
        trees.objects.push_back({1, 7, "", "tree", 3 * 32.0, 2 * 32.0, 0, 0});  // cell (2, 1)'s bottom corner
        trees.objects.push_back({2, 5, "", "tree", 1 * 32.0, 4 * 32.0, 0, 0});
        // One blocks its cell, as a world's house does.
        trees.objects.back().collision = {{{-32, 0}, {0, 16}, {32, 0}, {0, -16}}};
        map_.layers = {ground, mixed, trees};
    }
    std::vector<GodotSceneTileset> files(const std::string& suffix) const {
        return {{"../tiles/terrain" + suffix + ".tres", "../art/terrain.png", "", 1},
                {"../tiles/tree" + suffix + ".tres", "../art/tree.png", "", 1}};
    }
    ScratchDir scratch_{"brannoc-world-godot-"};
    const fs::path& dir_ = scratch_.path();
    MapModel map_;
};

// Every cell Godot 3 reads back and where it draws it, and every sprite,
// in the whole scene and in the scene of its chunks.
const char* const godot3_script = R"(extends SceneTree

func report(tag, root, chunked):
	for chunk in (root.get_children() if chunked else [root]):
		var at = chunk.position
		for node in chunk.get_children():
			if node is TileMap:
				if not chunked:
					print("map %s %s" % [node.name, node.tile_set.resource_path])
				for c in node.get_used_cells():
					var id = node.get_cellv(c)
					var p = node.map_to_world(c) + node.position + at
					var w = node.world_to_map(p - node.position)
					var o = node.tile_set.tile_get_texture_offset(id)
					print("%s cell %s %d %d %d %d %d" % [tag, node.tile_set.resource_path, w.x, w.y, id, p.x - node.cell_size.x / 2 + o.x, p.y + o.y])
			elif node is YSort:
				for s in node.get_children():
					var r = s.region_rect
					print("%s sprite %s %d %d %d %d %s" % [tag, s.name, at.x + node.position.x + s.position.x + s.offset.x, at.y + node.position.y + s.position.y + s.offset.y, r.position.x, r.position.y, s.texture.resource_path])

func _init():
	for tag in ["whole", "chunked"]:
		var scene = load("res://maps/%s.tscn" % tag)
		if scene == null:
			quit(3)
			return
		var root = scene.instance()
		report(tag, root, tag == "chunked")
		root.free()
	quit(0)
)";

// The map's cells from (x0, y0), w x h of them, with the objects standing in them.
MapModel chunk_of(const MapModel& map, int x0, int y0, int w, int h) {
    MapModel chunk = map;
    chunk.width = w;
    chunk.height = h;
    for (auto& layer : chunk.layers) {
        if (auto* tiles = std::get_if<MapTileLayer>(&layer)) {
            std::vector<std::uint32_t> gids;
            for (int y = y0; y < y0 + h; ++y)
                for (int x = x0; x < x0 + w; ++x) gids.push_back(tiles->gids[y * map.width + x]);
            tiles->gids = gids;
        } else {
            std::vector<MapObject> inside;
            for (MapObject o : std::get<MapObjectLayer>(layer).objects) {
                const int cx = static_cast<int>(o.x - 1) / map.tile_height,
                          cy = static_cast<int>(o.y - 1) / map.tile_height;
                if (cx < x0 || cx >= x0 + w || cy < y0 || cy >= y0 + h) continue;
                o.x -= x0 * map.tile_height;
                o.y -= y0 * map.tile_height;
                inside.push_back(o);
            }
            std::get<MapObjectLayer>(layer).objects = inside;
        }
    }
    return chunk;
}

int godot3(const fs::path& project, const std::string& arguments, const fs::path& output) {
    return run_godot3(project, project / "home", arguments, output.string());
}
}  // namespace

TEST_F(WorldGodot, Godot3LoadsTheSceneWithTheMapsCellsAndDrawsThemWhereTiledDoesWholeOrInChunks) {
    ASSERT_EQ(godot_scene_problem(map_, files("3")), std::nullopt);
    write_text(dir_ / "maps" / "whole.tscn", godot3_world_scene(map_, files("3")));
    // The same map as chunks of 3 x 2 cells, smaller at the far edges.
    std::vector<WorldChunkMap> chunks;
    for (int y0 = 0; y0 < map_.height; y0 += 2)
        for (int x0 = 0; x0 < map_.width; x0 += 3) {
            const int w = std::min(3, map_.width - x0), h = std::min(2, map_.height - y0);
            chunks.push_back({"chunks/c" + std::to_string(x0) + "_" + std::to_string(y0) + ".tscn", x0, y0, w, h});
            std::vector<GodotSceneTileset> deeper = files("3");
            for (GodotSceneTileset& f : deeper) f.tileset = "../" + f.tileset, f.image = "../" + f.image;
            write_text(dir_ / "maps" / chunks.back().file, godot3_world_scene(chunk_of(map_, x0, y0, w, h), deeper));
        }
    write_text(dir_ / "maps" / "chunked.tscn", godot3_chunks_scene(chunks, map_.tile_width, map_.tile_height));
    write_text(dir_ / "project.godot", "config_version=4\n\n[application]\n\nconfig/name=\"check\"\n");
    write_text(dir_ / "check.gd", godot3_script);
    ASSERT_EQ(import_godot3(dir_, dir_ / "home", (dir_ / "import.log").string()), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    ASSERT_EQ(godot3(dir_, "-s res://check.gd", dir_ / "check.log"), 0) << text_of(dir_ / "check.log");

    // What the map says, in Godot 3's frame: cell (0, 0)'s top corner at the origin.
    const int shift = map_.height * map_.tile_width / 2;
    std::multiset<std::string> maps, expected;
    const std::map<std::string, std::pair<int, int>> nodes = {
        {"ground", {0, 0}}, {"level1 mixed_terrain", {1, 0}}, {"level1 mixed_tree", {1, 1}}};
    for (const auto& [name, which] : nodes) {
        const auto& [layer, set] = which;
        const MapTileLayer& tiles = std::get<MapTileLayer>(map_.layers[layer]);
        const MapTileset& t = map_.tilesets[set];
        const std::string tres = std::string("res://tiles/") + (set ? "tree" : "terrain") + "3.tres";
        maps.insert("map " + name + " " + tres);
        for (int k = 0; k < 20; ++k) {
            const int gid = static_cast<int>(tiles.gids[k]);
            if (gid < t.first_gid || gid >= t.first_gid + t.tile_count) continue;
            const auto [x, y] = tiled_tile_corner(map_, t, k % 5, k / 5, shift);
            expected.insert("cell " + tres + " " + std::to_string(k % 5) + " " + std::to_string(k / 5) + " " +
                            std::to_string(gid - t.first_gid) + " " + std::to_string(x + tiles.offset_x) + " " +
                            std::to_string(y + tiles.offset_y));
        }
    }
    const MapTileset& trees = map_.tilesets[1];
    for (const MapObject& o : std::get<MapObjectLayer>(map_.layers[2]).objects) {
        const auto [x, y] = tiled_object_corner(map_, trees, o, shift);
        const int id = static_cast<int>(o.gid) - trees.first_gid;
        expected.insert("sprite tree_" + std::to_string(o.id) + " " + std::to_string(x) + " " + std::to_string(y) +
                        " " + std::to_string(1 + id % trees.columns * (trees.tile_width + 2)) + " " +
                        std::to_string(1 + id / trees.columns * (trees.tile_height + 2)) + " res://art/tree.png");
    }
    std::multiset<std::string> read_maps, whole, chunked;
    std::istringstream log(text_of(dir_ / "check.log"));
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("map ", 0) == 0) read_maps.insert(line);
        if (line.rfind("whole ", 0) == 0) whole.insert(line.substr(6));
        if (line.rfind("chunked ", 0) == 0) chunked.insert(line.substr(8));
    }
    EXPECT_EQ(read_maps, maps);
    EXPECT_EQ(whole, expected);
    EXPECT_EQ(chunked, expected);
}

namespace {
std::pair<double, double> vector2(const std::string& text) {
    std::smatch m;
    std::regex_match(text, m, std::regex(R"(Vector2\((-?[\d.]+), (-?[\d.]+)\))"));
    return {std::stod(m[1]), std::stod(m[2])};
}
}  // namespace

TEST_F(WorldGodot, Godot4SceneKeepsTheLoadersRulesAndHoldsTheMapsCells) {
    ASSERT_EQ(godot_scene_problem(map_, files("")), std::nullopt);
    write_text(dir_ / "maps" / "world.tscn", godot_world_scene(map_, files("")));
    const std::vector<GodotSection> scene = read_godot_text(text_of(dir_ / "maps" / "world.tscn"));
    ASSERT_FALSE(scene.empty());
    // Resources first, each declared before it is named, each file where the path says.
    std::map<std::string, const GodotSection*> resources;
    std::size_t k = 1;
    for (; k < scene.size() && scene[k].header.rfind("[node", 0) != 0; ++k) {
        const GodotSection& s = scene[k];
        ASSERT_FALSE(s.field("id").empty()) << s.header;
        ASSERT_TRUE(resources.emplace(s.field("id"), &s).second) << s.header;
        if (s.header.rfind("[ext_resource", 0) == 0) {
            ASSERT_FALSE(s.field("type").empty()) << s.header;
            EXPECT_TRUE(fs::exists(dir_ / "maps" / s.field("path"))) << s.header;
        }
    }
    EXPECT_EQ(scene[0].header, "[gd_scene load_steps=" + std::to_string(resources.size() + 1) + " format=4]");
    auto resource = [&](const std::string& value) -> const GodotSection* {
        std::smatch m;
        if (!std::regex_match(value, m, std::regex(R"re((Ext|Sub)Resource\("([^"]+)"\))re"))) return nullptr;
        return resources.count(m[2]) ? resources.at(m[2]) : nullptr;
    };
    // Nodes: one root, every other node under one named before it, names unique among siblings.
    ASSERT_LT(k, scene.size());
    EXPECT_TRUE(scene[k].field("parent").empty());
    std::set<std::string> paths = {"."};
    std::map<std::string, std::vector<std::uint8_t>> cells;  // layer -> its tile_map_data
    std::vector<const GodotSection*> sprites;
    int footprints = 0;
    for (++k; k < scene.size(); ++k) {
        const GodotSection& node = scene[k];
        const std::string name = node.field("name"), parent = node.field("parent");
        ASSERT_TRUE(paths.count(parent)) << node.header;
        EXPECT_EQ(name.find_first_of(".:@/\"%"), std::string::npos) << name;
        ASSERT_TRUE(paths.insert(parent == "." ? name : parent + "/" + name).second) << node.header;
        const std::string type = node.field("type");
        if (type == "TileMapLayer") {
            const GodotSection* tileset = resource(node.keys.at("tile_set"));
            ASSERT_TRUE(tileset && tileset->field("type") == "TileSet") << node.header;
            // Every cell names a tile its TileSet declares.
            const std::string tres = text_of(dir_ / "maps" / tileset->field("path"));
            const std::vector<std::uint8_t> data = from_base64(node.keys.at("tile_map_data").substr(17));
            ASSERT_EQ(data.size() % 12, 2u);
            for (std::size_t at = 2; at < data.size(); at += 12) {
                const std::string tile = std::to_string(data[at + 6] | data[at + 7] << 8) + ":" +
                                         std::to_string(data[at + 8] | data[at + 9] << 8);
                EXPECT_NE(tres.find("\n" + tile + "/0 = 0\n"), std::string::npos) << name << " " << tile;
            }
            cells[name] = data;
        } else if (type == "Sprite2D") {
            EXPECT_EQ(node.keys.at("centered"), "false");
            const GodotSection* texture = resource(node.keys.at("texture"));
            ASSERT_TRUE(texture && texture->field("path") == "../art/tree.png") << node.header;
            sprites.push_back(&node);
        } else if (type == "CollisionPolygon2D") {
            // Under a body at the foot of its object's sprite.
            EXPECT_EQ(node.keys.at("polygon"), "PackedVector2Array(-32, 0, 0, 16, 32, 0, 0, -16)");
            EXPECT_EQ(parent.substr(parent.rfind('/') + 1), "footprint") << node.header;
            ++footprints;
        } else if (type == "StaticBody2D") {
            EXPECT_EQ(node.keys.at("position"), "Vector2(0, -16)") << node.header;
        } else {
            EXPECT_EQ(type, "Node2D") << node.header;
        }
    }
    // The cells: x, y, source 0, the gid's cell in its sheet, no alternative.
    auto cells_of = [&](int layer, int set) {
        std::vector<std::uint8_t> out = {0, 0};
        const MapTileset& t = map_.tilesets[set];
        const std::vector<std::uint32_t>& gids = std::get<MapTileLayer>(map_.layers[layer]).gids;
        for (int c = 0; c < 20; ++c) {
            const int id = static_cast<int>(gids[c]) - t.first_gid;
            if (gids[c] == 0 || id < 0 || id >= t.tile_count) continue;
            for (const int v : {c % 5, c / 5, 0, id % t.columns, id / t.columns, 0})
                out.insert(out.end(), {static_cast<std::uint8_t>(v), 0});
        }
        return out;
    };
    EXPECT_EQ(cells["ground"], cells_of(0, 0));
    EXPECT_EQ(cells["level1 mixed_terrain"], cells_of(1, 0));
    EXPECT_EQ(cells["level1 mixed_tree"], cells_of(1, 1));
    EXPECT_EQ(cells.size(), 3u);
    EXPECT_EQ(footprints, 1);
    // Sprites draw their image where Tiled does, in Godot 4's frame (cell
    // (0, 0)'s centre at (W/2, H/2)), y-sorted by the point they stand on.
    const std::vector<MapObject>& objects = std::get<MapObjectLayer>(map_.layers[2]).objects;
    ASSERT_EQ(sprites.size(), objects.size());
    const int shift = (map_.height - 1) * map_.tile_width / 2;
    for (std::size_t n = 0; n < objects.size(); ++n) {
        const auto [px, py] = vector2(sprites[n]->keys.at("position"));
        const auto [ox, oy] = vector2(sprites[n]->keys.at("offset"));
        const auto [x, y] = tiled_object_corner(map_, map_.tilesets[1], objects[n], shift);
        EXPECT_EQ(px + ox, x) << sprites[n]->header;
        EXPECT_EQ(py + oy, y) << sprites[n]->header;
        EXPECT_EQ(py, (objects[n].x + objects[n].y) / 2) << sprites[n]->header;
    }
}

TEST(TiledWorld, TiledDrawsTheChunksOfAWorldAsTheWholeMap) {
    const ScratchDir scratch("brannoc-tiled-world-");
    const fs::path& dir = scratch.path();
    ASSERT_EQ(run_render({"--kind", "terrain", "--count", "6", "--iso-width", "64", "--seed", "5", "--sheet",
                          (dir / "ground.png").string()}),
              0);
    // A 7 x 5 world and its chunks of 3 x 2 cells, smaller at the far edges.
    const int width = 7, height = 5;
    auto gid = [](int x, int y) { return 1 + (x * 5 + y * 3 + x * y) % 6; };
    auto write_map = [&](const fs::path& path, int x0, int y0, int w, int h) {
        std::ostringstream csv;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) csv << gid(x, y) << (x + 1 < x0 + w || y + 1 < y0 + h ? "," : "");
        write_text(path,
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"isometric\" "
                   "renderorder=\"right-down\" width=\"" +
                       std::to_string(w) + "\" height=\"" + std::to_string(h) +
                       "\" tilewidth=\"64\" tileheight=\"32\" infinite=\"0\" nextlayerid=\"2\" nextobjectid=\"1\">\n"
                       " <tileset firstgid=\"1\" source=\"../ground.tsx\"/>\n <layer id=\"1\" name=\"T\" width=\"" +
                       std::to_string(w) + "\" height=\"" + std::to_string(h) + "\">\n  <data encoding=\"csv\">\n" +
                       csv.str() + "\n</data>\n </layer>\n</map>\n");
    };
    write_map(dir / "whole" / "world.tmx", 0, 0, width, height);
    std::vector<WorldChunkMap> chunks;
    for (int y0 = 0; y0 < height; y0 += 2)
        for (int x0 = 0; x0 < width; x0 += 3) {
            const int w = std::min(3, width - x0), h = std::min(2, height - y0);
            chunks.push_back({"chunks/c" + std::to_string(x0) + "_" + std::to_string(y0) + ".tmx", x0, y0, w, h});
            write_map(dir / chunks.back().file, x0, y0, w, h);
        }
    ASSERT_EQ(tiled_world_problem(chunks, width, height, 64, 32), std::nullopt);
    write_text(dir / "world.world", tiled_world(chunks, height, 64, 32));
    auto rasterize = [&](const fs::path& file) {
        const fs::path png = dir / (file.stem().string() + file.extension().string().substr(1) + ".png");
        const std::string command =
            "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + file.string() + "' '" + png.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
        return read_rgba(png);
    };
    const Rgba whole = rasterize(dir / "whole" / "world.tmx"), world = rasterize(dir / "world.world");
    ASSERT_GT(whole.width, 0);
    EXPECT_EQ(world.width, whole.width);
    EXPECT_EQ(world.height, whole.height);
    EXPECT_TRUE(world.pixels == whole.pixels);
    // Placements Tiled cannot take are refused with the reason.
    EXPECT_NE(tiled_world_problem({{"c.tmx", 5, 0, 3, 2}}, width, height, 64, 32), std::nullopt);
    EXPECT_NE(tiled_world_problem({{"c.tmx", 1, 0, 1, 1}}, width, height, 66, 33), std::nullopt);
}
