// Sheets and the engine files beside them, checked against Tiled's own
// renderer (tmxrasterizer) and a reader of Godot's text resources.
#include "export/formats/sheet_layout.hpp"
#include "generators/tile_kinds.hpp"
#include "canvas/png_writer.hpp"
#include "../support/godot_text.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {
std::pair<int, int> vector2i(const std::string& text) {
    std::smatch m;
    std::regex_match(text, m, std::regex(R"(Vector2i\((-?\d+), (-?\d+)\))"));
    return {std::stoi(m[1]), std::stoi(m[2])};
}

std::string xml_attribute(const std::string& xml, const std::string& element, const std::string& name) {
    std::smatch m;
    if (!std::regex_search(xml, m, std::regex("<" + element + "[^>]*\\s" + name + "=\"([^\"]*)\""))) return {};
    return m[1];
}

// An isometric map of size x size cells drawing from one tileset, with the
// given tile layer (csv) and the given object layer (whole <object> lines).
void write_map(const fs::path& path, int size, int width, const std::string& tileset, const std::string& csv,
               const std::string& objects = "") {
    std::ofstream(path) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"isometric\" "
                           "renderorder=\"right-down\" width=\""
                        << size << "\" height=\"" << size << "\" tilewidth=\"" << width << "\" tileheight=\""
                        << width / 2
                        << "\" infinite=\"0\" nextlayerid=\"3\" "
                           "nextobjectid=\"9\">\n <tileset firstgid=\"1\" source=\""
                        << tileset << "\"/>\n"
                        << " <layer id=\"1\" name=\"T\" width=\"" << size << "\" height=\"" << size << "\">\n"
                        << "  <data encoding=\"csv\">\n"
                        << csv << "\n</data>\n </layer>\n"
                        << " <objectgroup id=\"2\" name=\"O\">\n"
                        << objects << " </objectgroup>\n</map>\n";
}

// How much a map's red steps from one row to the next: on average across
// the edge of the tile drawn alone in `second` (its shape says which pixels
// are its), and within either side.
struct RowSteps {
    double across = 0, within = 0;
    int across_pairs = 0;
};
RowSteps row_steps(const Rgba& map, const Rgba& second) {
    double across = 0, within = 0;
    int across_pairs = 0, within_pairs = 0;
    for (int y = 0; y + 1 < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            if (map.at(x, y)[3] != 255 || map.at(x, y + 1)[3] != 255) continue;
            const bool upper = second.at(x, y)[3] == 255, lower = second.at(x, y + 1)[3] == 255;
            const double step = std::abs(map.at(x, y)[0] - map.at(x, y + 1)[0]);
            if (upper == lower) within += step, ++within_pairs;
            else across += step, ++across_pairs;
        }
    return {across / std::max(1, across_pairs), within / std::max(1, within_pairs), across_pairs};
}

class SheetDir : public ::testing::Test {
protected:
    int render(std::vector<std::string> args) { return run_render(std::move(args)); }
    // Tiled's own renderer draws the map; nothing else decides where tiles go.
    Rgba rasterize(const fs::path& tmx) {
        const fs::path png = dir_ / (tmx.stem().string() + "-raster.png");
        const std::string command =
            "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + tmx.string() + "' '" + png.string() + "' >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
        return read_rgba(png);
    }
    // The shipped sheets, but water cell 0 made of strong stripes across v,
    // so that water out of step with its neighbour shows at their edge.
    fs::path striped_water_textures() {
        const fs::path sheets = dir_ / "sheets";
        fs::create_directories(sheets);
        for (const char* name : {"building_sheet.png", "boulder_sheet.png"})
            fs::copy_file(fs::path(BRANNOC_ASSETS_DIR) / name, sheets / name);
        const Rgba ground = read_rgba(fs::path(BRANNOC_ASSETS_DIR) / "ground_sheet.png");
        RasterImage striped(ground.width, ground.height);
        for (int y = 0; y < ground.height; ++y)
            for (int x = 0; x < ground.width; ++x) {
                const std::uint8_t* p = ground.at(x, y);
                const int v = 128 + static_cast<int>(std::lround(120 * std::sin(2 * M_PI * (y % 64) / 32.0)));
                striped.set_pixel(x, y, x < 64 && y >= 320 && y < 384 ? rgb(v, v, v) : rgb(p[0], p[1], p[2]));
            }
        const auto png = encode_png(striped);
        EXPECT_TRUE(png);
        if (png)
            std::ofstream(sheets / "ground_sheet.png", std::ios::binary)
                .write(reinterpret_cast<const char*>(png->data()), static_cast<std::streamsize>(png->size()));
        return sheets;
    }
    ScratchDir scratch_{"brannoc-sheet-"};
    const fs::path& dir_ = scratch_.path();
};
}  // namespace

TEST_F(SheetDir, TilesetNumbersForSeveralWidths) {
    for (const int width : {40, 64, 200}) {
        SCOPED_TRACE(width);
        const fs::path sheet = dir_ / ("w" + std::to_string(width) + ".bmp");
        ASSERT_EQ(render({"--kind", "tree", "--count", "5", "--iso-width", std::to_string(width), "--sheet",
                          sheet.string(), "--columns", "3", "--spacing", "2", "--margin", "1"}),
                  0);
        const std::vector<std::uint8_t> bytes = read_file(fs::path(sheet).replace_extension(".tsx"));
        const std::string tsx(bytes.begin(), bytes.end());
        const nlohmann::json manifest = read_json(fs::path(sheet).replace_extension(".json"));
        const nlohmann::json& s = manifest["sheet"];
        EXPECT_EQ(xml_attribute(tsx, "tileset", "tilewidth"), std::to_string(s["cell_width"].get<int>()));
        EXPECT_EQ(xml_attribute(tsx, "tileset", "tileheight"), std::to_string(s["cell_height"].get<int>()));
        EXPECT_EQ(xml_attribute(tsx, "tileset", "spacing"), "2");
        EXPECT_EQ(xml_attribute(tsx, "tileset", "margin"), "1");
        EXPECT_EQ(xml_attribute(tsx, "tileset", "tilecount"), "6");  // the 3 x 2 cells Tiled cuts, one blank
        EXPECT_EQ(xml_attribute(tsx, "tileset", "columns"), "3");
        EXPECT_EQ(xml_attribute(tsx, "grid", "orientation"), "isometric");
        EXPECT_EQ(xml_attribute(tsx, "grid", "width"), std::to_string(width));
        EXPECT_EQ(xml_attribute(tsx, "grid", "height"), std::to_string(width / 2));
        EXPECT_EQ(xml_attribute(tsx, "image", "trans"), "000000");  // a BMP has no alpha
        EXPECT_EQ(xml_attribute(tsx, "image", "width"), std::to_string(s["width"].get<int>()));
        // Where the offset puts the diamond is Tiled's to say (below); here only its row.
        const int ay = s["anchor"][1], ch = s["cell_height"];
        EXPECT_EQ(xml_attribute(tsx, "tileoffset", "y"), std::to_string(ch - width / 4 - ay));
        // The sheet itself: 2 margins, 3 cells and 2 gaps across.
        const std::vector<std::uint8_t> bmp = read_file(sheet);
        EXPECT_EQ(bmp[18] | (bmp[19] << 8), 2 * 1 + 3 * s["cell_width"].get<int>() + 2 * 2);
    }
}

TEST_F(SheetDir, WaterDiamondsMeetWithNoGapAndEachTileSitsOnItsCell) {
    // Tiled reads the generated tileset and map and draws them; at each width
    // the diamonds must tile the map's diamond and sit where its grid says.
    for (const int width : {40, 64, 200}) {
        SCOPED_TRACE(width);
        const int half = width / 2;
        const std::string name = "water" + std::to_string(width);
        const fs::path sheet = dir_ / (name + ".png");
        ASSERT_EQ(render({"--kind", "water", "--count", "16", "--iso-width", std::to_string(width), "--transparent",
                          "--sheet", sheet.string(), "--tmx", (dir_ / (name + ".tmx")).string()}),
                  0);
        const Rgba map = rasterize(dir_ / (name + ".tmx"));
        ASSERT_EQ(map.width, 4 * width);
        ASSERT_EQ(map.height, 4 * half);
        // Inside the map's diamond (two pixels in from its edge) every pixel is water.
        const double cx = 2.0 * width, cy = 2.0 * half;
        int holes = 0;
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                const double d = std::abs(x + 0.5 - cx) / cx + std::abs(y + 0.5 - cy) / cy;
                if (d < 1 - 2.0 / cy && map.at(x, y)[3] != 255) ++holes;
            }
        EXPECT_EQ(holes, 0);
        // Tile k of the map (row-major) is tile k of the sheet, its anchor
        // pixel just left of the cell's top corner, on the middle row.
        const Rgba tiles = read_rgba(sheet);
        const nlohmann::json layout = read_json(dir_ / (name + ".json"))["sheet"];
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column) {
                const int k = row * 4 + column;
                const int mx = (column - row) * half + 2 * width, my = (column + row) * half / 2 + half / 2;
                const int sx = (k % 4) * layout["cell_width"].get<int>() + layout["anchor"][0].get<int>();
                const int sy = (k / 4) * layout["cell_height"].get<int>() + layout["anchor"][1].get<int>();
                EXPECT_EQ(std::memcmp(map.at(mx - 1, my), tiles.at(sx, sy), 4), 0) << "cell " << column << "," << row;
            }
    }
}

TEST_F(SheetDir, ALoneTileOnAOneCellMapCoversExactlyItsCell) {
    // A 1 x 1 map is exactly one diamond box: a tile a pixel off loses a
    // corner to the map's edge and leaves the other edge empty. At width 50
    // the diamond is 25 rows high, an odd number.
    for (const int width : {40, 50, 64, 200}) {
        SCOPED_TRACE(width);
        const std::string name = "lone" + std::to_string(width);
        ASSERT_EQ(render({"--kind", "water", "--iso-width", std::to_string(width), "--transparent", "--sheet",
                          (dir_ / (name + ".png")).string()}),
                  0);
        write_map(dir_ / (name + ".tmx"), 1, width, name + ".tsx", "1");
        const Rgba map = rasterize(dir_ / (name + ".tmx"));
        const Rgba sheet = read_rgba(dir_ / (name + ".png"));
        ASSERT_EQ(map.width, width);
        int first = width, last = -1, drawn = 0, painted = 0;
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x)
                if (map.at(x, y)[3] != 0) first = std::min(first, x), last = std::max(last, x), ++drawn;
        for (int y = 0; y < sheet.height; ++y)
            for (int x = 0; x < sheet.width; ++x) painted += sheet.at(x, y)[3] != 0;
        EXPECT_EQ(first, 0);
        EXPECT_EQ(last, width - 1);
        EXPECT_EQ(drawn, painted);  // nothing cut off
    }
}

TEST_F(SheetDir, TallHousesStandOnTheirDiamondsNotTheirImageBoxes) {
    const fs::path sheet = dir_ / "houses.png";
    ASSERT_EQ(render({"--kind", "house", "--count", "4", "--iso-width", "64", "--seed", "11", "--transparent",
                      "--sheet", sheet.string(), "--columns", "4"}),
              0);
    // Four houses along one row of the map (column + row = 3), side by side.
    std::ofstream(dir_ / "row.tmx") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<map version=\"1.8\" orientation=\"isometric\" renderorder=\"right-down\" "
                                       "width=\"4\" height=\"4\" tilewidth=\"64\" tileheight=\"32\" infinite=\"0\" "
                                       "nextlayerid=\"2\" nextobjectid=\"1\">\n"
                                       " <tileset firstgid=\"1\" source=\"houses.tsx\"/>\n"
                                       " <layer id=\"1\" name=\"Tiles\" width=\"4\" height=\"4\">\n"
                                       "  <data encoding=\"csv\">\n0,0,0,1,\n0,0,2,0,\n0,3,0,0,\n4,0,0,0\n</data>\n"
                                       " </layer>\n</map>\n";
    const Rgba map = rasterize(dir_ / "row.tmx");
    const Rgba tiles = read_rgba(sheet);
    const nlohmann::json layout = read_json(dir_ / "houses.json")["sheet"];
    const int cw = layout["cell_width"], ax = layout["anchor"][0], ay = layout["anchor"][1];
    for (int k = 0; k < 4; ++k) {
        const int column = 3 - k, row = k;
        const int mx = (column - row) * 32 + 128, my = (column + row) * 16 + 16;
        // The house's pixels around its anchor are where the grid puts its diamond.
        for (const auto& [dx, dy] : {std::pair{0, 0}, {-6, 2}, {6, 2}, {0, 8}}) {
            const std::uint8_t* from_sheet = tiles.at(k * cw + ax + dx, ay + dy);
            if (from_sheet[3] == 0) continue;
            EXPECT_EQ(std::memcmp(map.at(mx - 1 + dx, my + dy), from_sheet, 4), 0) << "house " << k;
        }
    }
}

TEST_F(SheetDir, GodotResourceReadsBackWithTheAnchorOfTheManifest) {
    const fs::path sheet = dir_ / "t.png";
    ASSERT_EQ(render({"--kind", "tree", "--count", "6", "--iso-width", "96", "--sheet", sheet.string(), "--spacing",
                      "3", "--margin", "2", "--godot", (dir_ / "t.tres").string()}),
              0);
    const std::vector<GodotSection> tres = read_godot_resource(dir_ / "t.tres");
    ASSERT_EQ(tres.size(), 4u);
    EXPECT_EQ(tres[0].header, "[gd_resource type=\"TileSet\" load_steps=3 format=3]");
    EXPECT_NE(tres[1].header.find("path=\"t.png\""), std::string::npos);
    const auto& atlas = tres[2].keys;
    const auto& resource = tres[3].keys;
    EXPECT_EQ(resource.at("tile_shape"), "1");   // isometric
    EXPECT_EQ(resource.at("tile_layout"), "5");  // diamond down
    EXPECT_EQ(vector2i(resource.at("tile_size")), std::make_pair(96, 48));
    const nlohmann::json manifest = read_json(dir_ / "t.json");
    const nlohmann::json& s = manifest["sheet"];
    const int cw = s["cell_width"], ch = s["cell_height"];
    EXPECT_EQ(vector2i(atlas.at("texture_region_size")), std::make_pair(cw, ch));
    EXPECT_EQ(vector2i(atlas.at("margins")), std::make_pair(2, 2));
    EXPECT_EQ(vector2i(atlas.at("separation")), std::make_pair(3, 3));
    // Godot centres the region on the cell, then moves it by -texture_origin:
    // the diamond's centre, between the anchor pixel and the next, must land
    // on the cell's centre.
    for (const nlohmann::json& tile : manifest["tiles"]) {
        const std::string cell =
            std::to_string(tile["cell"][0].get<int>()) + ":" + std::to_string(tile["cell"][1].get<int>());
        ASSERT_TRUE(atlas.count(cell + "/0")) << cell;
        const auto [ox, oy] = vector2i(atlas.at(cell + "/0/texture_origin"));
        EXPECT_EQ(tile["anchor"][0].get<int>() + 1 - cw / 2, ox);
        EXPECT_EQ(tile["anchor"][1].get<int>() - ch / 2, oy);
    }
    EXPECT_EQ(manifest["version"], 1);
    EXPECT_EQ(manifest["tiles"].size(), 6u);
    EXPECT_TRUE(manifest["tiles"][0]["drawn"].contains("conifer"));
}

TEST_F(SheetDir, ANormalSheetLightsTheGodotAtlasAndIsNamedByTheTiledTileset) {
    // With --albedo the albedo sheet is what the engine's light falls on.
    for (const bool albedo : {false, true}) {
        const std::string stem = albedo ? "unlit" : "houses";
        const fs::path sheet = dir_ / (stem + ".png");
        fs::create_directories(dir_ / "engine");
        std::vector<std::string> args = {"--kind",
                                         "house",
                                         "--count",
                                         "3",
                                         "--iso-width",
                                         "64",
                                         "--sheet",
                                         sheet.string(),
                                         "--normals",
                                         "--godot",
                                         (dir_ / "engine" / "h.tres").string(),
                                         "--tmx",
                                         (dir_ / (stem + ".tmx")).string()};
        if (albedo) args.push_back("--albedo");
        ASSERT_EQ(render(args), 0);
        const std::vector<GodotSection> tres = read_godot_resource(dir_ / "engine" / "h.tres");
        // Each texture the CanvasTexture names is a file beside the .tres's paths.
        std::map<std::string, std::string> textures;  // id -> path
        const GodotSection* canvas = nullptr;
        const GodotSection* atlas = nullptr;
        for (const GodotSection& section : tres) {
            std::smatch m;
            if (std::regex_search(section.header, m,
                                  std::regex(R"re(ext_resource type="Texture2D" path="([^"]+)" id="([^"]+)")re")))
                textures[m[2]] = m[1];
            if (section.header.find("type=\"CanvasTexture\"") != std::string::npos) canvas = &section;
            if (section.header.find("type=\"TileSetAtlasSource\"") != std::string::npos) atlas = &section;
        }
        ASSERT_TRUE(canvas && atlas);
        EXPECT_EQ(tres[0].header, "[gd_resource type=\"TileSet\" load_steps=5 format=3]");
        const std::string id = std::regex_replace(canvas->header, std::regex(R"re(.*id="([^"]+)".*)re"), "$1");
        EXPECT_EQ(atlas->keys.at("texture"), "SubResource(\"" + id + "\")");
        auto texture = [&](const std::string& key) {
            const std::string ref =
                std::regex_replace(canvas->keys.at(key), std::regex(R"re(ExtResource\("([^"]+)"\))re"), "$1");
            return textures.count(ref) ? textures.at(ref) : std::string{};
        };
        EXPECT_EQ(texture("diffuse_texture"), albedo ? "../unlit_a.png" : "../houses.png");
        EXPECT_EQ(texture("normal_texture"), "../" + stem + "_n.png");
        EXPECT_TRUE(fs::exists(dir_ / "engine" / texture("diffuse_texture")));
        EXPECT_TRUE(fs::exists(dir_ / "engine" / texture("normal_texture")));
        const std::vector<std::uint8_t> bytes = read_file(dir_ / (stem + ".tsx"));
        const std::string tsx(bytes.begin(), bytes.end());
        EXPECT_NE(tsx.find("<property name=\"normal_map\" type=\"file\" value=\"" + stem + "_n.png\"/>"),
                  std::string::npos);
        EXPECT_EQ(tsx.find("<property name=\"albedo_map\" type=\"file\" value=\"unlit_a.png\"/>") != std::string::npos,
                  albedo);
        const nlohmann::json manifest = read_json(dir_ / (stem + ".json"));
        EXPECT_EQ(manifest["sheet"]["normals"], stem + "_n.png");
        EXPECT_EQ(manifest["painted_light"]["azimuth"], kind_named("house")->painted_light.azimuth);
        if (albedo) {  // the albedo sheet has the colour's alpha
            EXPECT_EQ(manifest["sheet"]["albedo"], "unlit_a.png");
            const Rgba colour = read_rgba(sheet), unlit = read_rgba(dir_ / "unlit_a.png");
            ASSERT_EQ(unlit.width, colour.width);
            ASSERT_EQ(unlit.height, colour.height);
            for (std::size_t k = 3; k < colour.pixels.size(); k += 4) ASSERT_EQ(unlit.pixels[k], colour.pixels[k]);
        }
        // Tiled still reads the tileset and draws the map over it.
        const Rgba raster = rasterize(dir_ / (stem + ".tmx"));
        bool drawn = false;
        for (std::size_t k = 3; k < raster.pixels.size(); k += 4) drawn = drawn || raster.pixels[k] > 0;
        EXPECT_TRUE(drawn);
    }
}

TEST_F(SheetDir, AHouseAsATileObjectStandsOnItsPointAsInALayerOnItsCell) {
    // Placed on the bottom corner of cell (2, 3), the object draws exactly
    // what the layer draws in that cell.
    ASSERT_EQ(render({"--kind", "house", "--count", "2", "--iso-width", "64", "--seed", "4", "--sheet",
                      (dir_ / "h.png").string()}),
              0);
    write_map(dir_ / "layer.tmx", 4, 64, "h.tsx", "0,0,0,0,\n0,0,0,0,\n0,0,0,0,\n0,0,2,0");
    // Tiled gives a new tile object its tile's size; object x, y count tile heights along each axis.
    const nlohmann::json cell = read_json(dir_ / "h.json")["sheet"];
    write_map(dir_ / "object.tmx", 4, 64, "h.tsx", "0,0,0,0,\n0,0,0,0,\n0,0,0,0,\n0,0,0,0",
              "  <object id=\"1\" gid=\"2\" x=\"96\" y=\"128\" width=\"" + cell["cell_width"].dump() + "\" height=\"" +
                  cell["cell_height"].dump() + "\"/>\n");
    const Rgba in_layer = rasterize(dir_ / "layer.tmx"), as_object = rasterize(dir_ / "object.tmx");
    ASSERT_EQ(in_layer.width, as_object.width);
    ASSERT_EQ(in_layer.height, as_object.height);
    int drawn = 0;
    for (std::size_t i = 3; i < in_layer.pixels.size(); i += 4) drawn += in_layer.pixels[i] != 0;
    EXPECT_GT(drawn, 64 * 32 / 2);
    EXPECT_TRUE(in_layer.pixels == as_object.pixels);
}

TEST_F(SheetDir, AWideMarginLeavesTiledCountingTheSheetsOwnColumns) {
    // Tiled finds the columns from the image's width: the map must not change
    // with the margin.
    for (const char* margin : {"0", "70"}) {
        const fs::path sheet = dir_ / (std::string("m") + margin + ".png");
        ASSERT_EQ(render({"--kind", "water", "--count", "4", "--iso-width", "64", "--columns", "2", "--spacing", "3",
                          "--margin", margin, "--transparent", "--sheet", sheet.string(), "--tmx",
                          fs::path(sheet).replace_extension(".tmx").string()}),
                  0);
    }
    const Rgba plain = rasterize(dir_ / "m0.tmx"), margined = rasterize(dir_ / "m70.tmx");
    ASSERT_EQ(plain.width, margined.width);
    EXPECT_TRUE(plain.pixels == margined.pixels);
}

TEST_F(SheetDir, PngSheetsCarryAlphaWithOrWithoutTransparent) {
    // Engines have no colour key: an opaque sheet would paint black boxes.
    for (const char* name : {"opaque", "clear"}) {
        std::vector<std::string> args = {
            "--kind",      "house", "--count", "3",
            "--iso-width", "64",    "--sheet", (dir_ / (std::string(name) + ".png")).string()};
        if (std::string(name) == "clear") args.push_back("--transparent");
        ASSERT_EQ(render(args), 0);
    }
    EXPECT_TRUE(read_file(dir_ / "opaque.png") == read_file(dir_ / "clear.png"));
    const std::vector<std::uint8_t> tsx = read_file(dir_ / "opaque.tsx");
    EXPECT_EQ(xml_attribute(std::string(tsx.begin(), tsx.end()), "image", "trans"), "");
    // Frames run where the tiles leave room: every painted pixel stays.
    ASSERT_EQ(render({"--kind", "house", "--count", "3", "--iso-width", "64", "--cell-frames", "--sheet",
                      (dir_ / "framed.png").string()}),
              0);
    const Rgba plain = read_rgba(dir_ / "clear.png"), framed = read_rgba(dir_ / "framed.png");
    ASSERT_EQ(plain.pixels.size(), framed.pixels.size());
    int lost = 0, framing = 0;
    for (std::size_t i = 0; i < plain.pixels.size(); i += 4) {
        if (plain.pixels[i + 3] != 0) lost += std::memcmp(&plain.pixels[i], &framed.pixels[i], 4) != 0;
        else framing += framed.pixels[i + 3] != 0;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_GT(framing, 3 * 2 * 64);
}

TEST_F(SheetDir, EachTilesetTileNamesItsKindAndSeedWhichDrawItAgain) {
    ASSERT_EQ(render({"--kind", "tree", "--count", "3", "--iso-width", "64", "--seed", "8", "--sheet",
                      (dir_ / "t.png").string()}),
              0);
    const std::vector<std::uint8_t> bytes = read_file(dir_ / "t.tsx");
    const std::string tsx(bytes.begin(), bytes.end());
    const nlohmann::json manifest = read_json(dir_ / "t.json");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(tsx, m,
                                  std::regex("<tile id=\"2\">\\s*<properties>\\s*<property name=\"kind\" "
                                             "value=\"([^\"]*)\"/>\\s*<property name=\"seed\" value=\"(\\d+)\"/>")));
    EXPECT_EQ(m[1], "tree");
    EXPECT_EQ(m[2], manifest["tiles"][2]["seed"].dump());
    // The designer's way back: that kind and seed alone draw the same tile.
    std::ofstream(dir_ / "again.json") << "{\"kind\": \"" << m[1] << "\", \"tile-seed\": " << m[2] << "}";
    ASSERT_EQ(render({"--settings", (dir_ / "again.json").string(), "--iso-width", "64", "--transparent", "--trim",
                      "--out", (dir_ / "again").string()}),
              0);
    const Rgba again = read_rgba(dir_ / "again" / "tree-0000.png"), sheet = read_rgba(dir_ / "t.png");
    const nlohmann::json redrawn = read_json(dir_ / "again" / "manifest.json")["tiles"][0];
    const nlohmann::json& layout = manifest["sheet"];
    const nlohmann::json& cell = manifest["tiles"][2]["cell"];
    const int x0 = cell[0].get<int>() * layout["cell_width"].get<int>() + layout["anchor"][0].get<int>() -
                   redrawn["anchor"][0].get<int>();
    const int y0 = cell[1].get<int>() * layout["cell_height"].get<int>() + layout["anchor"][1].get<int>() -
                   redrawn["anchor"][1].get<int>();
    int differing = 0;
    for (int y = 0; y < again.height; ++y)
        for (int x = 0; x < again.width; ++x)
            differing += std::memcmp(again.at(x, y), sheet.at(x0 + x, y0 + y), 4) != 0;
    EXPECT_EQ(differing, 0);
}

TEST_F(SheetDir, NamesAreEscapedAndPathsRelativeToTheFileNamingThem) {
    // An absolute sheet named from a file given relative to the current folder.
    const TempCurrentDir here("brannoc-names-");
    const fs::path folder = dir_ / "a&b <\"q\">";
    const fs::path sheet = folder / "it's & \"that\".png";
    ASSERT_EQ(render({"--kind", "water", "--count", "4", "--iso-width", "40", "--transparent", "--sheet",
                      sheet.string(), "--tmx", (folder / "map.tmx").string(), "--godot", "t.tres"}),
              0);
    // Tiled reads the tileset through the map and draws every tile.
    const Rgba map = rasterize(folder / "map.tmx");
    int drawn = 0;
    for (std::size_t i = 3; i < map.pixels.size(); i += 4) drawn += map.pixels[i] != 0;
    EXPECT_GT(drawn, 40 * 20);
    // Godot's string, unescaped, names the sheet from where the .tres lies.
    const std::vector<GodotSection> tres = read_godot_resource(here.path() / "t.tres");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(tres.at(1).header, m, std::regex(R"re(path="((?:[^"\\]|\\.)*)")re")));
    const std::string path = std::regex_replace(m[1].str(), std::regex(R"(\\(.))"), "$1");
    EXPECT_FALSE(fs::path(path).is_absolute()) << path;
    EXPECT_EQ((here.path() / path).lexically_normal(), sheet);
}

TEST_F(SheetDir, ASheetTooLargeOrWithoutAFormatIsRefusedWithNothingWritten) {
    EXPECT_EQ(render({"--kind", "water", "--count", "2000", "--iso-width", "200", "--sheet",
                      (dir_ / "huge.png").string(), "--columns", "2000"}),
              2);
    EXPECT_EQ(render({"--kind", "water", "--count", "1000000", "--sheet", (dir_ / "all.png").string()}), 2);
    EXPECT_EQ(render({"--kind", "water", "--sheet", (dir_ / "sheet.gif").string()}), 2);
    EXPECT_EQ(render({"--kind", "water", "--tmx", (dir_ / "map.tmx").string()}), 2);
    EXPECT_EQ(render({"--kind", "water", "--sheet", (dir_ / "s.bmp").string(), "--godot", (dir_ / "s.tres").string()}),
              2);                                                                          // Godot has no colour key
    EXPECT_EQ(render({"--kind", "water", "--sheet", (dir_ / "a\x01b.png").string()}), 2);  // no XML can name it
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 0);
}

TEST_F(SheetDir, MovingWaterSheetsDeclareEachTilesFramesToTiledAndGodot) {
    constexpr int tiles = 3, frames = 6;
    const fs::path sheet = dir_ / "moving.png";
    ASSERT_EQ(render({"--kind", "water", "--count", std::to_string(tiles), "--iso-width", "64", "--frames",
                      std::to_string(frames), "--frame-ms", "90", "--sheet", sheet.string(), "--tmx",
                      (dir_ / "moving.tmx").string(), "--godot", (dir_ / "moving.tres").string()}),
              0);
    const nlohmann::json manifest = read_json(dir_ / "moving.json");
    const nlohmann::json& s = manifest["sheet"];
    const int columns = s["columns"];
    EXPECT_EQ(s["animation"]["frames"], frames);
    EXPECT_EQ(s["animation"]["frame_ms"], 90);
    ASSERT_EQ(columns % frames, 0);  // rows hold whole tiles
    const std::vector<std::uint8_t> bytes = read_file(dir_ / "moving.tsx");
    const std::string tsx(bytes.begin(), bytes.end());
    EXPECT_EQ(xml_attribute(tsx, "tileset", "tilecount"), std::to_string(columns * s["rows"].get<int>()));
    const auto tres = read_godot_resource(dir_ / "moving.tres");
    ASSERT_EQ(tres.size(), 4u);
    const auto& atlas = tres[2].keys;
    const Rgba image = read_rgba(sheet);
    const int cw = s["cell_width"], ch = s["cell_height"], ax = s["anchor"][0], ay = s["anchor"][1];
    for (int k = 0; k < tiles; ++k) {
        SCOPED_TRACE(k);
        const int column = manifest["tiles"][k]["cell"][0], row = manifest["tiles"][k]["cell"][1];
        EXPECT_EQ(row * columns + column, k * frames);
        // Tiled: the first frame's tile plays the frames after it.
        std::smatch tile;
        ASSERT_TRUE(std::regex_search(tsx, tile,
                                      std::regex("<tile id=\"" + std::to_string(k * frames) + "\">[\\s\\S]*?</tile>")));
        const std::string animation = tile.str();
        for (int f = 0; f < frames; ++f)
            EXPECT_NE(animation.find("<frame tileid=\"" + std::to_string(k * frames + f) + "\" duration=\"90\"/>"),
                      std::string::npos);
        // Godot: the same, in seconds, starting together; the frames' cells
        // stay free for the animation.
        const std::string cell = std::to_string(column) + ":" + std::to_string(row) + "/";
        EXPECT_EQ(atlas.at(cell + "animation_columns"), std::to_string(frames));
        EXPECT_EQ(atlas.at(cell + "animation_frames_count"), std::to_string(frames));
        EXPECT_EQ(atlas.at(cell + "animation_mode"), "0");
        for (int f = 0; f < frames; ++f) {
            EXPECT_EQ(atlas.at(cell + "animation_frame_" + std::to_string(f) + "/duration"), "0.09");
            if (f > 0) {
                EXPECT_EQ(atlas.count(std::to_string(column + f) + ":" + std::to_string(row) + "/0"), 0u);
            }
        }
        // The frames differ at the diamond's centre region. The waters are
        // painted in broad flat steps (kept at low frequency so that moving
        // water does not flicker), and where a step is wider than the sway a
        // pixel keeps its texel: a quarter of the region's pixels changing,
        // counted over the frames, is motion enough (over river, the flattest
        // water, about a third change).
        int differing = 0;
        for (int f = 1; f < frames; ++f)
            for (int dy = -4; dy <= 4; ++dy)
                for (int dx = -8; dx <= 8; ++dx)
                    differing += std::memcmp(image.at(column * cw + ax + dx, row * ch + ay + dy),
                                             image.at((column + f) * cw + ax + dx, row * ch + ay + dy), 3) != 0;
        EXPECT_GT(differing, (frames - 1) * 17 * 9 / 4);
    }
    // The sample map names first frames only.
    const std::vector<std::uint8_t> map_bytes = read_file(dir_ / "moving.tmx");
    const std::string tmx(map_bytes.begin(), map_bytes.end());
    const std::string csv = tmx.substr(tmx.find("<data"));
    const std::regex gid(R"((\d+),)");
    for (std::sregex_iterator it(csv.begin(), csv.end(), gid), end; it != end; ++it)
        EXPECT_EQ((std::stoi((*it)[1]) - 1) % frames, 0) << (*it)[1];
}

TEST_F(SheetDir, NeighbouringWaterTilesMeetWithoutASeamInEveryFrame) {
    // Water cell 0 made of strong stripes across v, so that neighbours out of
    // step would show: Tiled draws two tiles side by side from their frame-0
    // cells and from a middle frame's, and across their shared edge the
    // colours step no more than they do from row to row inside a tile.
    constexpr int frames = 8;
    const fs::path sheets = striped_water_textures();
    ASSERT_EQ(render({"--kind", "water", "--count", "2", "--iso-width", "100", "--frames", std::to_string(frames),
                      "--textures", sheets.string(), "--lock-water-texture-1", "--lock-water-texture-2",
                      "--water-texture-1", "0", "--water-texture-2", "0", "--sheet", (dir_ / "pair.png").string()}),
              0);
    const auto first_tile = [](int k, int f) { return std::to_string(k * frames + f + 1); };
    write_map(dir_ / "second.tmx", 2, 100, "pair.tsx", "0," + first_tile(1, 0) + ",\n0,0");
    const Rgba second = rasterize(dir_ / "second.tmx");
    std::vector<Rgba> maps;
    for (const int f : {0, frames / 2 - 1}) {
        SCOPED_TRACE(f);
        const fs::path tmx = dir_ / ("pair" + std::to_string(f) + ".tmx");
        write_map(tmx, 2, 100, "pair.tsx", first_tile(0, f) + "," + first_tile(1, f) + ",\n0,0");
        const Rgba map = rasterize(tmx);
        ASSERT_EQ(map.width, second.width);
        const RowSteps steps = row_steps(map, second);
        ASSERT_GT(steps.across_pairs, 40);
        EXPECT_LT(steps.across, 1.2 * steps.within) << steps.across << " " << steps.within;
        maps.push_back(map);
    }
    EXPECT_NE(maps[0].pixels, maps[1].pixels);
}

TEST_F(SheetDir, AShoreMeetsTheWaterBesideItWithoutASeamInEveryFrame) {
    // The same measure as for two water tiles: a shore set over the striped
    // water; its pure-water tile (15) and, on the cell to its lower right,
    // the tile whose two corners on their shared edge are water (9: top-left
    // and bottom-left) drawn by Tiled from frame 0's cells and a middle frame's,
    // 200 pixels wide so that the shared edge is long enough to tell.
    constexpr int frames = 8, water = 15, shore = 9;
    ASSERT_EQ(render({"--kind", "transition", "--terrains", "ground:3,water:0", "--iso-width", "200", "--frames",
                      std::to_string(frames), "--textures", striped_water_textures().string(), "--sheet",
                      (dir_ / "shore.png").string()}),
              0);
    const auto tile = [](int k, int f) { return std::to_string(k * frames + f + 1); };
    write_map(dir_ / "alone.tmx", 2, 200, "shore.tsx", "0," + tile(shore, 0) + ",\n0,0");
    const Rgba alone = rasterize(dir_ / "alone.tmx");
    for (const int f : {0, frames / 2 - 1}) {
        SCOPED_TRACE(f);
        const fs::path tmx = dir_ / ("shore" + std::to_string(f) + ".tmx");
        write_map(tmx, 2, 200, "shore.tsx", tile(water, f) + "," + tile(shore, f) + ",\n0,0");
        const Rgba map = rasterize(tmx);
        ASSERT_EQ(map.width, alone.width);
        const RowSteps steps = row_steps(map, alone);
        ASSERT_GT(steps.across_pairs, 80);
        EXPECT_LT(steps.across, 1.2 * steps.within) << steps.across << " " << steps.within;
    }
}

TEST_F(SheetDir, AShoreSetMovesItsWaterAndNotItsGround) {
    constexpr int frames = 4;
    ASSERT_EQ(render({"--kind", "transition", "--terrains", "ground:3,water:0", "--iso-width", "64", "--frames",
                      std::to_string(frames), "--sheet", (dir_ / "shore.png").string()}),
              0);
    const Rgba sheet = read_rgba(dir_ / "shore.png");
    const nlohmann::json s = read_json(dir_ / "shore.json")["sheet"];
    const int columns = s["columns"], cw = s["cell_width"], ch = s["cell_height"];
    // Pixels of tile k's frame f that differ from its frame 0.
    const auto moved = [&](int k, int f) {
        int count = 0;
        const int first = k * frames, cell = first + f;
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                count += std::memcmp(sheet.at((first % columns) * cw + x, (first / columns) * ch + y),
                                     sheet.at((cell % columns) * cw + x, (cell / columns) * ch + y), 4) != 0;
        return count;
    };
    for (int f = 1; f < frames; ++f) {
        EXPECT_EQ(moved(0, f), 0);                 // all four corners ground
        EXPECT_GT(moved(15, f), cw * ch / 8);      // all four corners water
        EXPECT_GT(moved(1, f), 0);                 // one corner water: its water moves
        EXPECT_LT(moved(1, f), moved(15, f) / 2);  // and the ground around it does not
    }
}
