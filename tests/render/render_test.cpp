#include "app/render/batch_run.hpp"
#include "export/control_options.hpp"
#include "export/tile/render_canvas.hpp"
#include "export/tile/tile_render.hpp"
#include "state/control_ids.hpp"
#include "canvas/bmp_writer.hpp"
#include "generators/common/diamond_mapping.hpp"

#include "../support/as_user.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>
#include <gif_lib.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <fstream>

namespace fs = std::filesystem;

namespace {
ParsedCommandLine parse(std::vector<std::string> args) { return parse_args(std::move(args)); }

RenderSettings settings_of(std::vector<std::string> args) {
    const ParsedCommandLine parsed = parse(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    return parsed.settings.value_or(RenderSettings{});
}

class RenderDir : public ::testing::Test {
protected:
    int run(std::vector<std::string> args, const std::string& sub) {
        args.push_back("--out");
        args.push_back((dir_ / sub).string());
        return run_render(std::move(args));
    }
    ScratchDir scratch_{"brannoc-render-"};
    const fs::path& dir_ = scratch_.path();
};

std::unique_ptr<Application> started() { return std::make_unique<Application>(create_app_state()); }
}  // namespace

TEST(RenderOptions, EveryControlOfEveryKindHasOneUniqueOption) {
    std::set<std::string> names;
    std::set<int> controls;
    for (const ControlOption& option : control_options()) {
        EXPECT_TRUE(names.insert(option.name).second) << option.name;
        controls.insert(option.control);
    }
    for (const ControlSpec& spec : control_table()) {
        if (spec.number <= 0 || spec.disabled || (spec.tab >= 0 && !kind_of_tab(spec.tab))) continue;
        if (spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::ComboBox ||
            (spec.kind == ControlKind::Button && spec.tab >= 0)) {
            EXPECT_TRUE(controls.count(spec.number)) << spec.number;
        }
    }
    for (const char* name :
         {"house-shape", "lock-shape", "conifer", "leaves", "height-from", "height-to", "terrain-lock-ground-texture",
          "mountain-lock-ground-texture", "boulder-quantity", "trees", "add-ground", "wall-texture", "water-texture-1"})
        EXPECT_TRUE(names.count(name)) << name;
}

TEST(RenderOptions, ValuesReadAsTheWindowShowsThem) {
    // A house: its own, the terrain's and the trees' options all steer it.
    const RenderSettings s = settings_of({"--kind", "house", "--leaves", "60", "--conifer", "--lock-size=false",
                                          "--grass-density", "25%", "--wall-texture", "3,7", "--iso-width", "60"});
    EXPECT_EQ(s.kind, TileKind::house);
    EXPECT_EQ(s.iso_width, 60);
    const std::vector<std::pair<int, int>> expected = {
        {ctl::lock_size, 0}, {ctl::leaves_percent, 6}, {ctl::conifer, 1}, {ctl::grass_density, 5}};
    for (const auto& pair : expected)
        EXPECT_NE(std::find(s.controls.begin(), s.controls.end(), pair), s.controls.end()) << pair.first;
    ASSERT_EQ(s.textures.size(), 1u);
    EXPECT_EQ(s.textures[0].second, (std::vector<int>{3, 7}));
}

TEST(RenderOptions, BadInputIsOneLineAndExitCodeTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--kind", "castle"},
                                               {"--house-shape", "5 x 5"},
                                               {"--count", "0"},
                                               {"--count", "1000001"},
                                               {"--iso-width", "63"},
                                               {"--iso-width", "220"},
                                               {"--door-texture", "10"},
                                               {"--jobs", "0"},
                                               {"--seed", "-3"},
                                               {"--format", "gif"},
                                               {"--settings", "/no/such/file.json"},
                                               {"--kind", "house", "--lock-size=false", "--iso-width", "64"}}) {
        const ParsedCommandLine parsed = parse(args);
        EXPECT_FALSE(parsed.settings.has_value()) << args[0];
        EXPECT_EQ(parsed.exit_code, 2) << args[0];
        EXPECT_EQ(parsed.text.rfind("brannoc-render: ", 0), 0u) << parsed.text;
        EXPECT_EQ(parsed.text.find('\n'), std::string::npos) << parsed.text;
    }
    const ParsedCommandLine help = parse({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    for (const char* part : {"House:", "Terrain:", "Mountain:", "EXAMPLES", "--transparent"})
        EXPECT_NE(help.text.find(part), std::string::npos) << part;
}

TEST_F(RenderDir, SettingsFileHoldsPresetsAndTheCommandLineWins) {
    std::ofstream(dir_ / "meadow.json") << R"({"kind": "terrain", "iso-width": 64, "grass": true,
        "grass-density": "25%", "terrain-ground-texture": 3, "count": 2})";
    const RenderSettings s = settings_of({"--settings", (dir_ / "meadow.json").string(), "--count", "5"});
    EXPECT_EQ(s.kind, TileKind::terrain);
    EXPECT_EQ(s.iso_width, 64);
    EXPECT_EQ(s.count, 5);
    std::ofstream(dir_ / "bad.json") << R"({"kind": "terrain", "grasss": true})";
    const ParsedCommandLine bad = parse({"--settings", (dir_ / "bad.json").string()});
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_NE(bad.text.find("grasss"), std::string::npos);
}

TEST_F(RenderDir, SameSeedSameBytesWithOneOrTwoJobsAndTileIStaysWhenCountGrows) {
    ASSERT_EQ(run({"--kind", "house", "--count", "6", "--seed", "9", "--jobs", "1"}, "one"), 0);
    ASSERT_EQ(run({"--kind", "house", "--count", "6", "--seed", "9", "--jobs", "2"}, "two"), 0);
    ASSERT_EQ(run({"--kind", "house", "--count", "12", "--seed", "9", "--jobs", "2"}, "more"), 0);
    ASSERT_EQ(run({"--kind", "house", "--count", "6", "--seed", "10", "--jobs", "2"}, "other"), 0);
    int different = 0;
    for (int i = 0; i < 6; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "house-%04d.png", i);
        EXPECT_EQ(read_file(dir_ / "one" / name), read_file(dir_ / "two" / name)) << name;
        EXPECT_EQ(read_file(dir_ / "one" / name), read_file(dir_ / "more" / name)) << name;
        different += read_file(dir_ / "one" / name) != read_file(dir_ / "other" / name);
    }
    EXPECT_EQ(different, 6);
    const nlohmann::json m = read_json(dir_ / "one" / "manifest.json");
    EXPECT_EQ(m["version"], 1);
    ASSERT_EQ(m["tiles"].size(), 6u);
    EXPECT_EQ(m["tiles"][2]["file"], "house-0002.png");
    EXPECT_TRUE(m["tiles"][2]["drawn"].contains("house-shape"));
}

TEST_F(RenderDir, BmpIsWhatTheWindowWrites) {
    ASSERT_EQ(run({"--kind", "water", "--format", "bmp", "--seed", "4"}, "bmp"), 0);
    auto app = started();
    RenderSettings s = settings_of({"--kind", "water", "--seed", "4"});
    const RenderedTile tile = render_tile(*app, s, 0);
    EXPECT_EQ(read_file(dir_ / "bmp" / "water-0000.bmp"), bmp_file_bytes(tile.image));
}

TEST_F(RenderDir, AlphaIsZeroExactlyWhereNothingWasPainted) {
    // Water paints exactly the mapped diamond; a conifer's trunk is black on
    // its left edge, and painted all the same.
    ASSERT_EQ(run({"--kind", "water", "--transparent", "--iso-width", "64"}, "water"), 0);
    const Rgba water = read_rgba(dir_ / "water" / "water-0000.png");
    ASSERT_EQ(water.width, 260);
    std::set<std::pair<int, int>> diamond;
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) {
            const CanvasPoint at = diamond_pixel(32, i, j);
            diamond.insert({at.x, at.y});
            diamond.insert({at.x + 1, at.y});
        }
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 260; ++x)
            ASSERT_EQ(water.pixels[(y * 260 + x) * 4 + 3], diamond.count({x, y}) ? 255 : 0) << x << "," << y;

    ASSERT_EQ(run({"--kind", "tree", "--conifer", "--transparent"}, "conifer"), 0);
    const Rgba conifer = read_rgba(dir_ / "conifer" / "tree-0000.png");
    int black_but_painted = 0;
    for (std::size_t p = 0; p < conifer.pixels.size(); p += 4)
        black_but_painted += conifer.pixels[p] == 0 && conifer.pixels[p + 1] == 0 && conifer.pixels[p + 2] == 0 &&
                             conifer.pixels[p + 3] == 255;
    EXPECT_GT(black_but_painted, 0);
}

TEST_F(RenderDir, AnUnwritableOutputFolderWritesNothing) {
    fs::create_directories(dir_ / "locked");
    ASSERT_EQ(::chown(dir_.c_str(), ordinary_uid(), ordinary_gid()), 0);
    ::chmod((dir_ / "locked").c_str(), 0555);
    const ChildOutcome outcome = run_as_ordinary_user([this] {
        return std::to_string(run({"--kind", "water", "--count", "3"}, "locked"));
    });
    EXPECT_EQ(outcome.output, "2");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "locked"), fs::directory_iterator()), 0);
}

TEST_F(RenderDir, ATilesDrawnBlockIsASettingsFileThatDrawsItAgainByteForByte) {
    fs::create_directories(dir_ / "sheets");
    for (const char* name : {"building_sheet.png", "ground_sheet.png", "boulder_sheet.png"})
        fs::copy_file(fs::path(BRANNOC_ASSETS_DIR) / name, dir_ / "sheets" / name);
    const std::vector<std::vector<std::string>> runs = {
        {"--kind", "house", "--lock-size=false", "--wall-texture", "3,7", "--transparent", "--trim"},
        {"--kind", "terrain", "--trees", "--boulder", "--textures", (dir_ / "sheets").string()},
        {"--kind", "mountain", "--iso-width", "64", "--format", "bmp"},
        {"--kind", "tree", "--conifer", "--transparent"},
        {"--kind", "water", "--iso-width", "58"}};
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const std::string run_dir = "run" + std::to_string(k), again_dir = "again" + std::to_string(k);
        std::vector<std::string> args = runs[k];
        for (const char* more : {"--count", "3", "--seed", "77"}) args.push_back(more);
        ASSERT_EQ(run(args, run_dir), 0) << k;
        const nlohmann::json manifest = read_json(dir_ / run_dir / "manifest.json");
        const nlohmann::json& tile = manifest["tiles"][2];
        std::ofstream(dir_ / "drawn.json") << tile["drawn"].dump();
        ASSERT_EQ(run({"--settings", (dir_ / "drawn.json").string()}, again_dir), 0) << tile["drawn"].dump();
        const std::string file = tile["file"],
                          again = fs::path(file).replace_filename(file.substr(0, file.find('-')) + "-0000" +
                                                                  fs::path(file).extension().string());
        EXPECT_FALSE(read_file(dir_ / run_dir / file).empty()) << k;
        EXPECT_EQ(read_file(dir_ / run_dir / file), read_file(dir_ / again_dir / again)) << k;
    }
    EXPECT_EQ(read_json(dir_ / "run1" / "manifest.json")["settings"]["textures"], (dir_ / "sheets").string());
    // A tile of a transition set: its block draws that one tile, not the set.
    ASSERT_EQ(
        run({"--kind", "transition", "--terrains", "ground:3,water:0", "--variants", "2", "--iso-width", "64"}, "set"),
        0);
    const nlohmann::json tile = read_json(dir_ / "set" / "manifest.json")["tiles"][21];
    std::ofstream(dir_ / "drawn.json") << tile["drawn"].dump();
    ASSERT_EQ(run({"--settings", (dir_ / "drawn.json").string()}, "one"), 0) << tile["drawn"].dump();
    EXPECT_EQ(read_json(dir_ / "one" / "manifest.json")["tiles"].size(), 1u);
    EXPECT_EQ(read_json(dir_ / "one" / "manifest.json")["tiles"][0]["corners"], tile["corners"]);
    EXPECT_EQ(read_file(dir_ / "one" / "transition-0000.png"), read_file(dir_ / "set" / "transition-0021.png"));
}

TEST_F(RenderDir, MovingWaterTilesAreStripsOfTheirFramesWithAGifThatPlays) {
    ASSERT_EQ(run({"--kind", "water", "--count", "2", "--iso-width", "64", "--frames", "4", "--frame-ms", "80",
                   "--transparent", "--trim", "--gif"},
                  "moving"),
              0);
    const nlohmann::json manifest = read_json(dir_ / "moving" / "manifest.json");
    const nlohmann::json& tile = manifest["tiles"][1];
    const int w = tile["frame_width"], h = tile["frame_height"];
    EXPECT_EQ(tile["frames"], 4);
    EXPECT_EQ(tile["width"], 4 * w);
    const Rgba strip = read_rgba(dir_ / "moving" / tile["file"].get<std::string>());
    ASSERT_EQ(strip.width, 4 * w);
    ASSERT_EQ(strip.height, h);
    int error = 0;
    GifFileType* gif = DGifOpenFileName((dir_ / "moving" / tile["gif"].get<std::string>()).c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, 4);
    EXPECT_EQ(gif->SWidth, w);
    EXPECT_EQ(gif->SHeight, h);
    int differing = 0;
    for (int f = 0; f < 4; ++f) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, f, &control), GIF_OK);
        EXPECT_EQ(control.DelayTime, 8);
        const GifByteType* pixels = gif->SavedImages[f].RasterBits;
        const ColorMapObject* map =
            gif->SavedImages[f].ImageDesc.ColorMap ? gif->SavedImages[f].ImageDesc.ColorMap : gif->SColorMap;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // Transparent exactly where the strip is; elsewhere near its colour.
                const std::uint8_t* p = strip.at(f * w + x, y);
                const int index = pixels[y * w + x];
                ASSERT_EQ(index == control.TransparentColor, p[3] == 0) << x << "," << y;
                if (p[3] == 0) continue;
                const GifColorType c = map->Colors[index];
                EXPECT_LE(std::abs(c.Red - p[0]) + std::abs(c.Green - p[1]) + std::abs(c.Blue - p[2]), 48);
                differing += f > 0 && std::memcmp(p, strip.at(x, y), 3) != 0;
            }
    }
    DGifCloseFile(gif, &error);
    EXPECT_GT(differing, w * h / 4);

    // Only water moves, and the count of frames has bounds.
    EXPECT_EQ(run({"--kind", "house", "--frames", "4"}, "house"), 2);
    EXPECT_EQ(run({"--kind", "terrain", "--frames", "4"}, "dry"), 2);
    EXPECT_EQ(run({"--kind", "water", "--frames", "65"}, "long"), 2);
    EXPECT_FALSE(parse({"--kind", "water", "--frames"}).settings);
    EXPECT_NE(parse({"--kind", "water", "--frames"}).text.find("--cell-frames"), std::string::npos);
    EXPECT_TRUE(parse({"--kind", "terrain", "--swamp", "--frames", "4"}).settings);
    // A flow moves water that moves.
    EXPECT_EQ(run({"--kind", "water", "--flow", "30"}, "unmoving"), 2);
    EXPECT_EQ(run({"--kind", "water", "--flow", "30", "--frames", "1"}, "one"), 2);
    EXPECT_EQ(run({"--kind", "house", "--flow", "30", "--frames", "4"}, "dry"), 2);
    EXPECT_EQ(run({"--kind", "water", "--flow", "north", "--frames", "4"}, "named"), 2);
}

TEST_F(RenderDir, ASetsGifIsItsIslandMapAsTiledDrawsEachFrameInItsOwnColours) {
    constexpr int frames = 3;
    const fs::path set = dir_ / "set";
    fs::create_directories(set);
    ASSERT_EQ(run_render({"--kind", "transition", "--terrains", "ground:3,water:0", "--variants", "2", "--iso-width",
                          "64", "--frames", std::to_string(frames), "--transparent", "--sheet",
                          (set / "shore.png").string(), "--tmx", (set / "shore.tmx").string(), "--gif"}),
              0);
    // The map: 8 x 8 cells, an island of B (water) in A (ground).
    const std::string tmx = std::string(reinterpret_cast<const char*>(read_file(set / "shore.tmx").data()),
                                        read_file(set / "shore.tmx").size());
    ASSERT_NE(tmx.find("width=\"8\" height=\"8\""), std::string::npos);
    const std::string open = "<data encoding=\"csv\">\n";
    const std::size_t start = tmx.find(open) + open.size(), end = tmx.find("</data>");
    std::vector<int> gids;
    std::stringstream csv(tmx.substr(start, end - start));
    for (std::string gid; std::getline(csv, gid, ',');) gids.push_back(std::stoi(gid));
    ASSERT_EQ(gids.size(), 64u);
    const auto mask = [&](int row, int column) { return (gids[row * 8 + column] - 1) / frames % 16; };
    for (int k = 0; k < 8; ++k)
        for (const auto& [row, column] : {std::pair{0, k}, {7, k}, {k, 0}, {k, 7}}) EXPECT_EQ(mask(row, column), 0);
    for (int row = 3; row <= 4; ++row)
        for (int column = 3; column <= 4; ++column) EXPECT_EQ(mask(row, column), 15);

    // Each frame of the GIF is the map as Tiled draws it with that frame's
    // tiles, in near enough its own colours.
    int error = 0;
    GifFileType* gif = DGifOpenFileName((set / "shore.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, frames);
    const auto opaque_corner = [](auto opaque, int width, int height) {
        std::pair<int, int> corner{width, height};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (opaque(x, y)) corner = {std::min(corner.first, x), std::min(corner.second, y)};
        return corner;
    };
    for (int f = 0; f < frames; ++f) {
        SCOPED_TRACE(f);
        std::string frame_map = tmx.substr(0, start);
        for (std::size_t k = 0; k < gids.size(); ++k)
            frame_map += std::to_string(gids[k] + f) + (k + 1 < gids.size() ? "," : "\n");
        std::ofstream(set / "frame.tmx") << frame_map << tmx.substr(end);
        const std::string command = "QT_QPA_PLATFORM=offscreen tmxrasterizer '" + (set / "frame.tmx").string() + "' '" +
                                    (set / "frame.png").string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << "tmxrasterizer (Debian package tiled) must be installed";
        const Rgba tiled = read_rgba(set / "frame.png");
        const SavedImage& image = gif->SavedImages[f];
        const ColorMapObject* colours = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, f, &control), GIF_OK);
        const auto gif_opaque = [&](int x, int y) {
            return image.RasterBits[y * gif->SWidth + x] != control.TransparentColor;
        };
        const auto [gx, gy] = opaque_corner(gif_opaque, gif->SWidth, gif->SHeight);
        const auto [tx, ty] =
            opaque_corner([&](int x, int y) { return tiled.at(x, y)[3] == 255; }, tiled.width, tiled.height);
        int painted = 0, mismatched = 0, off = 0;
        for (int y = 0; y < tiled.height; ++y)
            for (int x = 0; x < tiled.width; ++x) {
                const int X = x - tx + gx, Y = y - ty + gy;
                const bool in_gif = X >= 0 && Y >= 0 && X < gif->SWidth && Y < gif->SHeight && gif_opaque(X, Y);
                const std::uint8_t* p = tiled.at(x, y);
                if (p[3] != 255 || !in_gif) {
                    mismatched += (p[3] == 255) != in_gif;
                    continue;
                }
                const GifColorType c = colours->Colors[image.RasterBits[Y * gif->SWidth + X]];
                ++painted;
                off += std::max({std::abs(c.Red - p[0]), std::abs(c.Green - p[1]), std::abs(c.Blue - p[2])}) > 24;
            }
        EXPECT_GE(painted, 8 * 8 * 32 * 32);
        EXPECT_LE(mismatched, painted / 200);
        EXPECT_LE(off, painted / 200) << off << " of " << painted;
    }
    DGifCloseFile(gif, &error);
}

TEST_F(RenderDir, TallTilesAreNeverCutAndKeepTheWindowsSquareAsItIs) {
    // At width 200 broadleaf crowns and wooded terrain reach far past the
    // window's 260 x 260 canvas: the files hold all of them, on one size of
    // image, with the window's own pixels where its square lies.
    const RenderCanvas room = render_canvas_for_width(200);
    ASSERT_GT(room.origin_y, 0);
    auto window = started();
    int past_the_square = 0;
    for (const std::vector<std::string>& look :
         std::vector<std::vector<std::string>>{{"--kind", "tree", "--multi-tree", "--leaves", "100 %"},
                                               {"--kind", "terrain", "--trees", "--leaves", "100 %", "--grass"}}) {
        std::vector<std::string> args = look;
        args.insert(args.end(), {"--iso-width", "200", "--count", "30", "--transparent"});
        ASSERT_EQ(run(args, look[1]), 0);
        const nlohmann::json manifest = read_json(dir_ / look[1] / "manifest.json");
        for (int i = 0; i < 30; ++i) {
            const nlohmann::json& entry = manifest["tiles"][i];
            const Rgba tile = read_rgba(dir_ / look[1] / entry["file"].get<std::string>());
            ASSERT_EQ(tile.width, room.width);
            ASSERT_EQ(tile.height, room.height);
            EXPECT_EQ(entry["canvas_offset"], nlohmann::json::array({-room.origin_x, -room.origin_y}));
            EXPECT_EQ(entry["anchor"], nlohmann::json::array({130 + room.origin_x, 180 + room.origin_y}));
            for (int x = 0; x < tile.width; ++x)
                ASSERT_TRUE(tile.at(x, 0)[3] == 0 && tile.at(x, tile.height - 1)[3] == 0) << look[1] << i;
            for (int y = 0; y < tile.height; ++y)
                ASSERT_TRUE(tile.at(0, y)[3] == 0 && tile.at(tile.width - 1, y)[3] == 0) << look[1] << i;
            for (int x = 0; x < tile.width; ++x) past_the_square += tile.at(x, room.origin_y - 1)[3] != 0;
            // The same tile drawn by the window on its own canvas.
            RenderSettings s = settings_of(args);
            draw_seeded_tile(*window, s, i);
            const RasterImage& drawn = window->state().canvas;
            ASSERT_EQ(drawn.width(), 260);
            for (int y = 0; y < 260; ++y)
                for (int x = 0; x < 260; ++x) {
                    const std::uint8_t* p = tile.at(x + room.origin_x, y + room.origin_y);
                    ASSERT_EQ(rgb(p[0], p[1], p[2]), drawn.pixel(x, y)) << look[1] << i << " " << x << "," << y;
                }
        }
    }
    EXPECT_GT(past_the_square, 0);
}
