// The Godot 3 TileSet loaded by a real Godot (godot3-server, a headless
// editor build): it imports the sheet, then a script reads every tile back.
#include "../support/godot3_run.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {
const char* const check_script = R"(extends SceneTree

func _init():
	var tiles = load("res://tiles/t.tres")
	if tiles == null:
		quit(3)
		return
	for id in tiles.get_tiles_ids():
		var r = tiles.tile_get_region(id)
		var o = tiles.tile_get_texture_offset(id)
		print("tile %d %d %d %d %d %d %d %s" % [id, r.position.x, r.position.y, r.size.x, r.size.y, o.x, o.y, tiles.tile_get_texture(id).resource_path])
	var map = TileMap.new()
	map.mode = TileMap.MODE_ISOMETRIC
	map.cell_size = Vector2(64, 32)
	map.tile_set = tiles
	var p = map.map_to_world(Vector2(1, 0))
	print("cell %d %d" % [p.x, p.y])
	map.free()
	quit(0)
)";

// Each PNG named in list.txt decoded by Godot's own image loader, its RGBA
// bytes written beside it as NAME.rgba.
const char* const decode_script = R"(extends SceneTree

func _init():
	var list = File.new()
	if list.open("res://list.txt", File.READ) != OK:
		quit(3)
		return
	while not list.eof_reached():
		var path = list.get_line()
		if path == "":
			continue
		var image = Image.new()
		if image.load(path) != OK:
			quit(4)
			return
		image.convert(Image.FORMAT_RGBA8)
		var out = File.new()
		out.open(path + ".rgba", File.WRITE)
		out.store_buffer(image.get_data())
		out.close()
	quit(0)
)";

// One short run of Godot, its settings and caches kept in the project so
// runs side by side never share them; its exit code.
int godot(const fs::path& project, const std::string& arguments, const fs::path& output) {
    return run_godot3(project, project / "home", arguments, output.string());
}
}  // namespace

TEST(Godot3, ReadsEveryTileWhereTheManifestPutsItAndPlacesCellsOnTheDiamondGrid) {
    const ScratchDir scratch("brannoc-godot3-");
    const fs::path& project = scratch.path();
    std::ofstream(project / "project.godot") << "config_version=4\n\n[application]\n\nconfig/name=\"check\"\n";
    std::ofstream(project / "check.gd") << check_script;
    // The sheet in another folder than the TileSet, under a name to escape.
    const std::string image = "it's a \"sheet\" & more.png";
    ASSERT_EQ(run_render({"--kind", "tree", "--count", "5", "--iso-width", "64", "--columns", "3", "--spacing", "3",
                          "--margin", "70", "--sheet", (project / "art" / image).string(), "--godot3",
                          (project / "tiles" / "t.tres").string()}),
              0);
    ASSERT_EQ(import_godot3(project, project / "home", (project / "import.log").string()), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    ASSERT_EQ(godot(project, "-s res://check.gd", project / "check.log"), 0);

    const nlohmann::json manifest = read_json(project / "art" / "it's a \"sheet\" & more.json");
    const nlohmann::json& sheet = manifest["sheet"];
    const int cw = sheet["cell_width"], ch = sheet["cell_height"], ax = sheet["anchor"][0], ay = sheet["anchor"][1];
    std::map<int, std::string> read;
    std::string cell;
    std::ifstream log(project / "check.log");
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("tile ", 0) == 0) read[std::stoi(line.substr(5))] = line;
        if (line.rfind("cell ", 0) == 0) cell = line;
    }
    ASSERT_EQ(read.size(), 5u);
    for (const nlohmann::json& tile : manifest["tiles"]) {
        const int k = tile["index"], column = tile["cell"][0], row = tile["cell"][1];
        std::ostringstream expected;
        // tex_offset puts the diamond's top corner, W/2 right of the region's
        // left edge less the anchor's place, on map_to_world(cell).
        expected << "tile " << k << " " << 70 + column * (cw + 3) << " " << 70 + row * (ch + 3) << " " << cw << " "
                 << ch << " " << 64 / 2 - ax - 1 << " " << 32 / 2 - ay << " res://art/" << image;
        EXPECT_EQ(read[k], expected.str());
    }
    EXPECT_EQ(cell, "cell 32 16");
}

TEST(Godot3, DecodesThePixelsLibpngDecodesFromOurPngs) {
    // Tiles transparent and opaque, the large canvas, a sheet and a normal map.
    const ScratchDir scratch("brannoc-godot3-pixels-");
    const fs::path& project = scratch.path();
    std::ofstream(project / "project.godot") << "config_version=4\n\n[application]\n\nconfig/name=\"check\"\n";
    std::ofstream(project / "decode.gd") << decode_script;
    const fs::path out = project / "out";
    ASSERT_EQ(run_render({"--kind", "house", "--count", "2", "--seed", "7", "--transparent", "--out", out.string()}), 0);
    ASSERT_EQ(run_render({"--kind", "tree", "--iso-width", "200", "--seed", "3", "--transparent", "--normals", "--out",
                          out.string()}),
              0);
    ASSERT_EQ(run_render({"--kind", "mountain", "--seed", "4", "--out", out.string()}), 0);
    ASSERT_EQ(run_render({"--kind", "water", "--count", "5", "--sheet", (out / "sheet.png").string()}), 0);
    std::vector<fs::path> pngs;
    for (const auto& entry : fs::directory_iterator(out))
        if (entry.path().extension() == ".png") pngs.push_back(entry.path());
    ASSERT_EQ(pngs.size(), 6u);
    std::ofstream list(project / "list.txt");
    for (const fs::path& png : pngs) list << png.string() << "\n";
    list.close();
    ASSERT_EQ(godot(project, "-s res://decode.gd", project / "decode.log"), 0)
        << "godot3-server (Debian package godot3-server) must be installed";
    for (const fs::path& png : pngs) {
        const Rgba libpng = read_rgba(png);
        ASSERT_FALSE(libpng.pixels.empty()) << png;
        EXPECT_TRUE(read_file(png.string() + ".rgba") == libpng.pixels) << png.filename();
    }
}
