// What a world's tiles tell a game: the shapes of each cell's stack of
// tiles, and the same facts and shapes in Tiled's tileset and Godot 4's
// TileSet, the latter by its loader's rules (tile_set.cpp).
#include "app/render/command_line.hpp"
#include "app/render/world_run.hpp"
#include "export/world/world_gameplay.hpp"
#include "world_test_worlds.hpp"

#include "../support/godot_text.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>

namespace {
namespace fs = std::filesystem;

double area(const GameplayPolygon& p) {
    double twice = 0;
    for (std::size_t k = 0; k < p.size(); ++k) {
        const GameplayPoint& a = p[k];
        const GameplayPoint& b = p[(k + 1) % p.size()];
        twice += a[0] * b[1] - b[0] * a[1];
    }
    return twice / 2;  // negative: counter-clockwise on screen, y down
}

double total_area(const std::vector<GameplayPolygon>& polygons) {
    double sum = 0;
    for (const GameplayPolygon& p : polygons) {
        EXPECT_LT(area(p), 0) << "winds clockwise on screen";
        sum -= area(p);
    }
    return sum;
}
}  // namespace

// Each cell's stack of tiles: exactly one carries its walkable ground when
// it has any land (none on water or a cliff), and on a flat cell that ground
// and the coast's collision part the diamond.
TEST(WorldGameplay, EachCellsStackPartsItsDiamondIntoGroundAndCoast) {
    const CellGeometry cell{64, 32, 8};
    const double diamond = 64 * 32 / 2.0;
    const WorldMap map = whole_world(test_world(5, 3, 48));
    const WorldLayout layout = lay_out_world(map);
    int coasts = 0;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const std::size_t c = static_cast<std::size_t>(y) * map.width + x;
            int carriers = 0, land = 0;
            double ground = 0, blocked = 0;
            for (const WorldLayer& layer : layout.layers) {
                if (layer.cells[c] < 0) continue;
                const WorldTileFacts f = world_tile_facts(layout.tiles[layer.cells[c]], cell);
                carriers += !f.navigation.empty();
                ground += total_area(f.navigation);
                blocked += total_area(f.collision);
            }
            for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}})
                land += !is_water(map.corner(x + dx, y + dy).terrain);
            const std::string at = "cell " + std::to_string(x) + ", " + std::to_string(y);
            if (map.rise(x, y) == 2) {
                EXPECT_EQ(carriers, 0) << at;
                EXPECT_GT(blocked, 0) << at;
                continue;
            }
            EXPECT_EQ(carriers, land > 0 ? 1 : 0) << at;
            if (map.rise(x, y) == 1 || land == 0) continue;
            EXPECT_NEAR(ground + blocked, diamond, 1e-9) << at;
            if (land < 4) {
                ++coasts;
                EXPECT_GT(blocked, 0) << at;
            }
        }
    EXPECT_GT(coasts, 20);
}

namespace {
struct Drawn {
    std::string tsx, tres_text;
    std::vector<GodotSection> tres;
};
const Drawn& drawn_world() {
    static const Drawn drawn = [] {
        const ScratchDir dir("brannoc-world-gameplay-");
        const std::string out = dir.path().string();
        const char* argv[] = {"world",       "--size", "20x16", "--seed",    "21",
                              "--iso-width", "64",     "--out", out.c_str(), "--quiet"};
        const ParsedCommandLine parsed = parse_render_command_line(10, argv, true);
        EXPECT_TRUE(parsed.settings && run_world(*parsed.settings, stderr) == 0);
        const std::vector<std::uint8_t> tsx = read_file(dir.path() / "world_tiles.tsx"),
                                        tres = read_file(dir.path() / "world_tiles.tres");
        const std::string tres_text(tres.begin(), tres.end());
        return Drawn{std::string(tsx.begin(), tsx.end()), tres_text, read_godot_text(tres_text)};
    }();
    return drawn;
}
}  // namespace

// Godot 4 holds each tile's facts as custom data of the layers its TileSet
// declares, and its collision and navigation, by the loader's rules: every
// layer declared before the source (a tile's keys of a layer not yet there
// are dropped), each custom value of its layer's type, every alternative
// with its tile's data, each polygon a NavigationPolygon declared before; and
// Tiled says the same of every tile, with the same collision polygons.
TEST(WorldGameplay, Godot4AndTiledHoldTheSameFactsAndShapesByTheLoadersRules) {
    const Drawn& d = drawn_world();
    ASSERT_FALSE(d.tres.empty());
    const GodotSection& tileset = d.tres.back();
    ASSERT_EQ(tileset.header, "[resource]");
    // The layers, and that the source comes after them in the file.
    std::vector<std::string> names;
    std::map<std::string, std::string> types;  // layer -> Variant type
    for (int k = 0; tileset.keys.count("custom_data_layer_" + std::to_string(k) + "/name"); ++k) {
        names.push_back(tileset.keys.at("custom_data_layer_" + std::to_string(k) + "/name"));
        types[names.back()] = tileset.keys.at("custom_data_layer_" + std::to_string(k) + "/type");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"\"walkable\"", "\"terrain\"", "\"water\"", "\"slope\""}));
    EXPECT_EQ(types["\"walkable\""], "1");  // bool
    EXPECT_EQ(types["\"terrain\""], "4");   // String
    EXPECT_EQ(tileset.keys.count("physics_layer_0/collision_layer"), 1u);
    EXPECT_EQ(tileset.keys.count("navigation_layer_0/layers"), 1u);
    const std::size_t source = d.tres_text.find("\nsources/0 = ");
    for (const char* layer : {"\ncustom_data_layer_3/type", "\nphysics_layer_0/", "\nnavigation_layer_0/"})
        EXPECT_LT(d.tres_text.find(layer), source) << layer;

    std::set<std::string> meshes;
    const GodotSection* atlas = nullptr;
    for (const GodotSection& s : d.tres) {
        if (s.field("type") == "NavigationPolygon") {
            meshes.insert(s.field("id"));
            EXPECT_EQ(atlas, nullptr) << "declared after its use: " << s.header;
            EXPECT_TRUE(s.keys.count("vertices") && s.keys.count("polygons")) << s.header;
        }
        if (s.field("type") == "TileSetAtlasSource") atlas = &s;
    }
    ASSERT_NE(atlas, nullptr);
    ASSERT_FALSE(meshes.empty());
    const int columns = [&] {
        std::smatch m;
        std::regex_search(d.tsx, m, std::regex("columns=\"(\\d+)\""));
        return std::stoi(m[1]);
    }();
    // Where Tiled draws a tile's image on its cell's 64 x 32 box: moved by
    // the tileset's offset, its bottom on the box's.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(d.tsx, m, std::regex(R"re(tileheight="(\d+)")re")));
    const int image_height = std::stoi(m[1]);
    ASSERT_TRUE(std::regex_search(d.tsx, m, std::regex(R"re(<tileoffset x="(-?\d+)" y="(-?\d+)")re")));
    const double offset_x = std::stoi(m[1]), offset_y = std::stoi(m[2]) + 32 - image_height;
    // Tiled's tiles: id -> properties and collision polygons.
    static const std::regex tile(R"re(<tile id="(\d+)">([\s\S]*?)</tile>)re");
    static const std::regex property(R"re(<property name="(\w+)"(?: type="\w+")? value="([^"]*)"/>)re");
    static const std::regex polygon(
        R"re(<object id="\d+" type="collision" x="([\d.]+)" y="([\d.]+)">\s*<polygon points="([^"]*)"/>)re");
    int tiles = 0, shaped = 0, walkable = 0;
    for (std::sregex_iterator t(d.tsx.begin(), d.tsx.end(), tile), end; t != end; ++t, ++tiles) {
        const int id = std::stoi((*t)[1]);
        const std::string body = (*t)[2];
        std::map<std::string, std::string> props;
        for (std::sregex_iterator p(body.begin(), body.end(), property), e; p != e; ++p) props[(*p)[1]] = (*p)[2];
        std::vector<std::string> tiled_shapes;
        for (std::sregex_iterator p(body.begin(), body.end(), polygon), e; p != e; ++p) {
            // Tiled's points about a point of the image that it draws on the
            // box's centre; Godot's about the cell's centre.
            EXPECT_EQ(std::stod((*p)[1]) + offset_x, 32) << "tile " << id;
            EXPECT_EQ(std::stod((*p)[2]) + offset_y, 16) << "tile " << id;
            std::string points = (*p)[3];
            std::replace(points.begin(), points.end(), ',', ' ');
            tiled_shapes.push_back(points);
        }
        const std::string cell = std::to_string(id % columns) + ":" + std::to_string(id / columns) + "/";
        for (int a = 0; atlas->keys.count(cell + std::to_string(a)); ++a) {
            const std::string at = cell + std::to_string(a) + "/";
            auto key = [&](const std::string& k) { return atlas->keys.count(at + k) ? atlas->keys.at(at + k) : ""; };
            EXPECT_EQ(key("custom_data_0"), props["walkable"]) << at;
            EXPECT_EQ(key("custom_data_1"), "\"" + props["terrain"] + "\"") << at;
            EXPECT_EQ(key("custom_data_2"), "\"" + props["water"] + "\"") << at;
            EXPECT_EQ(key("custom_data_3"), props.count("slope") ? "\"" + props["slope"] + "\"" : "") << at;
            EXPECT_TRUE(std::regex_match(props["water"], std::regex("none|shallow|deep"))) << at;
            std::vector<std::string> godot_shapes;
            for (int n = 0; !key("physics_layer_0/polygon_" + std::to_string(n) + "/points").empty(); ++n) {
                std::string points = key("physics_layer_0/polygon_" + std::to_string(n) + "/points");
                points = points.substr(19, points.size() - 20);  // PackedVector2Array(...)
                points = std::regex_replace(points, std::regex(", "), " ");
                godot_shapes.push_back(points);
            }
            EXPECT_EQ(godot_shapes, tiled_shapes) << at;
            const std::string mesh = key("navigation_layer_0/polygon");
            if (!mesh.empty()) {
                EXPECT_EQ(props["walkable"], "true") << at;
                EXPECT_TRUE(meshes.count(mesh.substr(13, mesh.size() - 15))) << at << " " << mesh;
            }
            shaped += !godot_shapes.empty();
            walkable += !mesh.empty();
        }
    }
    EXPECT_GT(tiles, 20);
    EXPECT_GT(shaped, 3);
    EXPECT_GT(walkable, 10);
}

// Each sprite of the objects' tileset says what its own kind is: a house
// blocks and carries its footprint, trees, bushes and boulders do not, in
// whatever order the world first placed them (here houses come among trees
// and boulders).
TEST(WorldGameplay, EveryObjectTileHoldsItsOwnKindsFacts) {
    const ScratchDir dir("brannoc-world-objects-");
    const std::string out = dir.path().string();
    const char* argv[] = {"world",  "--size",      "32x32", "--seed", "2",         "--levels",
                          "4",      "--iso-width", "64",    "--out",  out.c_str(), "--quiet"};
    const ParsedCommandLine parsed = parse_render_command_line(12, argv, true);
    ASSERT_TRUE(parsed.settings && run_world(*parsed.settings, stderr) == 0);
    const std::vector<std::uint8_t> bytes = read_file(dir.path() / "world_objects.tsx");
    const std::string tsx(bytes.begin(), bytes.end());
    static const std::regex tile(R"re(<tile id="\d+">([\s\S]*?)</tile>)re");
    std::map<std::string, int> seen;
    for (std::sregex_iterator t(tsx.begin(), tsx.end(), tile), end; t != end; ++t) {
        const std::string body = (*t)[1];
        std::smatch name, walkable;
        ASSERT_TRUE(std::regex_search(body, name, std::regex(R"re(name="name" value="(\w+))re")));
        ASSERT_TRUE(std::regex_search(body, walkable, std::regex(R"re(name="walkable" type="bool" value="(\w+)")re")));
        const bool house = name[1] == "house";
        EXPECT_EQ(walkable[1], house ? "false" : "true") << body;
        EXPECT_EQ(body.find("type=\"collision\"") != std::string::npos, house) << body;
        ++seen[name[1]];
    }
    EXPECT_GT(seen["house"], 0);
    EXPECT_GT(seen["tree"], 0);
}

// A cliff's collision is as tall as its face is drawn: a cliff rises by its
// own step, not a slope's.
TEST(WorldGameplay, ACliffsCollisionIsAsTallAsItsFace) {
    WorldTileKey key;
    key.kind = WorldTileKey::Kind::cliff, key.mask = 15;
    double top = 1e9, foot = -1e9;
    for (const GameplayPolygon& p : world_tile_facts(key, {64, 32, 8, 16}).collision)
        for (const GameplayPoint& q : p) top = std::min(top, q[1]), foot = std::max(foot, q[1]);
    EXPECT_EQ(foot - top, 32 + 16);  // the diamond raised by the cliff's step, its face down to the foot
}
