// Normal and height maps from the generators' own geometry: drawn beside the
// colour, never changing it, and pointing where the shapes face.
#include "export/tile/lighting_maps.hpp"
#include "export/tile/tile_render.hpp"
#include "generators/house/roof.hpp"
#include "generators/tree/conifer_tree.hpp"

#include "../support/map_pixels.hpp"
#include "../support/render_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
RenderSettings settings_of(std::vector<std::string> args) {
    const ParsedCommandLine parsed = parse_args(std::move(args));
    EXPECT_TRUE(parsed.settings.has_value()) << parsed.text;
    return parsed.settings.value_or(RenderSettings{});
}

RenderSettings with_maps(RenderSettings settings) {
    settings.normals = settings.heights = settings.albedo = true;
    return settings;
}

int height_at(const RenderedTile& tile, int x, int y) { return tile.lighting_maps.height_at(x, y); }

struct Drawn {
    std::unique_ptr<Application> app = std::make_unique<Application>(create_app_state());
    RenderedTile tile;
    explicit Drawn(const std::vector<std::string>& args, int index = 0) {
        tile = render_tile(*app, with_maps(settings_of(args)), index);
    }
    const TileGeometry& geometry() const { return app->state().geometry; }
};
}  // namespace

TEST(SurfaceMaps, ColourIsTheSameByteForByteAndTheMapsAreSound) {
    const std::vector<std::vector<std::string>> looks = {
        {"--kind", "house", "--random-element"},
        {"--kind", "house", "--draw-ruins", "--add-ground", "--grass", "--boulder", "--bush", "--trees",
         "--add-flowers", "--add-left-fence", "--add-right-fence"},
        {"--kind", "tree", "--multi-tree"},
        {"--kind", "tree", "--conifer", "--multi-tree"},
        {"--kind", "terrain", "--grass", "--make-crops", "--boulder", "--bush", "--trees", "--pool", "--swamp"},
        {"--kind", "mountain", "--snow-covered-top", "--add-black-border"},
        {"--kind", "water", "--draw-tile-area"},
        {"--kind", "transition", "--terrains", "ground:3,rock:2"},
        {"--kind", "transition", "--terrains", "water:1,ground:5"},
    };
    auto app = std::make_unique<Application>(create_app_state());
    for (const auto& look : looks) {
        for (const char* width : {"40", "100", "200"}) {
            std::vector<std::string> args = look;
            args.insert(args.end(), {"--iso-width", width, "--transparent", "--trim", "--seed", "5"});
            const RenderSettings plain = settings_of(args);
            const RenderedTile colour = render_tile(*app, plain, 1);
            const RenderedTile mapped = render_tile(*app, with_maps(plain), 1);
            const std::string what = look[1] + " " + look.back() + " at " + width;
            ASSERT_EQ(mapped.image, colour.image) << what;
            ASSERT_EQ(mapped.alpha, colour.alpha) << what;
            // The maps keep the box their surfaces marked, inside the image.
            const LightingMaps& maps = mapped.lighting_maps;
            ASSERT_TRUE(maps.has_albedo) << what;
            ASSERT_EQ(maps.albedo.width(), maps.normals.width()) << what;
            ASSERT_EQ(maps.albedo.height(), maps.normals.height()) << what;
            ASSERT_TRUE(maps.normals.empty() ||
                        (maps.left >= 0 && maps.top >= 0 && maps.left + maps.normals.width() <= colour.image.width() &&
                         maps.top + maps.normals.height() <= colour.image.height()))
                << what;
            EXPECT_TRUE(colour.lighting_maps.normals.empty());
            for (int y = 0; y < mapped.image.height(); ++y)
                for (int x = 0; x < mapped.image.width(); ++x) {
                    const Normal n = normal_at(mapped, x, y);
                    // One step of 8-bit rounding a component at most.
                    ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1.0, 0.013)
                        << what << " " << x << "," << y;
                    ASSERT_GE(n.z, -0.004) << what;
                }
        }
    }
}

TEST(SurfaceMaps, NothingOfTheTileBeforeIsLeftInTheMaps) {
    // The map is kept from tile to tile and cleared only where it was
    // marked; trees leave holes between their leaves for the next to show.
    const RenderSettings trees = with_maps(settings_of({"--kind", "tree", "--multi-tree", "--transparent"}));
    auto app = std::make_unique<Application>(create_app_state());
    for (int index = 0; index < 4; ++index) {
        const RenderedTile after = render_tile(*app, trees, index);
        const RenderedTile fresh = render_tile(*std::make_unique<Application>(create_app_state()), trees, index);
        ASSERT_EQ(after.lighting_maps.normals, fresh.lighting_maps.normals) << index;
        ASSERT_EQ(after.lighting_maps.heights, fresh.lighting_maps.heights) << index;
    }
}

TEST(SurfaceMaps, HouseWallsFaceTheirWaysUnderARoofAsHighAsTheHouse) {
    for (const char* roof : {"Left side", "Right side"}) {
        const Drawn house({"--kind", "house", "--house-shape", "4 x 4", "--lock-shape", "--add-ground", "--roof-shape",
                           roof, "--lock-roof", "--seed", "2"});
        const TileGeometry& g = house.geometry();
        const RenderedTile& t = house.tile;
        // A little above the middle of each front wall's foot.
        const int lx = (g.house_left_x + g.house_front_x) / 2, ly = g.house_left_y + (lx - g.house_left_x) / 2 - 3;
        const int rx = (g.house_front_x + g.house_right_x) / 2, ry = g.house_front_y - (rx - g.house_front_x) / 2 - 3;
        const Normal left = normal_at(t, lx, ly), right = normal_at(t, rx, ry);
        EXPECT_LT(left.x, -0.8) << roof;
        EXPECT_GT(right.x, 0.8) << roof;
        EXPECT_NEAR(left.z, 0.0, 0.01);
        EXPECT_NEAR(right.z, 0.0, 0.01);
        EXPECT_LT(left.y, 0.0);  // both look towards the viewer, down the screen
        EXPECT_LT(right.y, 0.0);
        EXPECT_NEAR(height_at(t, lx, ly), 3, 1);

        // The ground around the house is flat at height 0.
        EXPECT_EQ(height_at(t, g.tile_left_x + 4, g.ground_y), 0);
        EXPECT_NEAR(normal_at(t, g.tile_left_x + 4, g.ground_y).z, 1.0, 0.005);

        // The highest pixel is on the ridge: the wall's height plus the roof's rise.
        int top = 0, top_x = 0, top_y = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x)
                if (height_at(t, x, y) > top) top = height_at(t, x, y), top_x = x, top_y = y;
        const int depth = g.house_front_x - g.house_left_x;  // a square house: both slopes as deep
        EXPECT_NEAR(top, house.app->state().house_height + roof_rise(depth), 1.0) << roof;
        const Normal ridge = normal_at(t, top_x, top_y);
        EXPECT_GT(ridge.z, 0.4) << roof;  // pitched: neither wall nor ground
        EXPECT_LT(ridge.z, 0.9) << roof;
        EXPECT_EQ(ridge.x < 0, std::string(roof) == "Left side");
    }
}

TEST(SurfaceMaps, FlatTerrainAndWaterAreOneNormalAtHeightZero) {
    for (const char* kind : {"terrain", "water"}) {
        const Drawn flat({"--kind", kind, "--transparent"});
        const RenderedTile& t = flat.tile;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x) {
                if (!t.alpha[y * 260 + x]) continue;
                ASSERT_EQ(t.lighting_maps.normal_at(x, y), flat_normal) << kind;
                ASSERT_EQ(height_at(t, x, y), 0) << kind;
            }
    }
}

TEST(SurfaceMaps, MountainFlanksFaceAwayFromThePeakWhichIsHighest) {
    const Drawn mountain({"--kind", "mountain", "--transparent", "--seed", "4"});
    const RenderedTile& t = mountain.tile;
    // Mean sideways normal of the rock left and right of the highest pixel.
    int top = -1, top_x = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 260; ++x)
            if (height_at(t, x, y) > top) top = height_at(t, x, y), top_x = x;
    double left = 0, right = 0;
    int left_count = 0, right_count = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 260; ++x) {
            if (height_at(t, x, y) < top / 3) continue;
            if (x < top_x - 4) left += normal_at(t, x, y).x, ++left_count;
            if (x > top_x + 4) right += normal_at(t, x, y).x, ++right_count;
        }
    ASSERT_GT(left_count, 20);
    ASSERT_GT(right_count, 20);
    EXPECT_LT(left / left_count, right / right_count - 0.2);
    EXPECT_GT(top, 20);
    // The peak stands near the middle, as the field is built.
    EXPECT_NEAR(top_x, 130, 30);
}

TEST(SurfaceMaps, NoRockOfAMountainIsAtGroundLevel) {
    // Rock is what changes with the rock texture. The underlay showing
    // between flat ground's segments lies on the ground; next to the
    // relief, rock stands above it.
    auto app = std::make_unique<Application>(create_app_state());
    for (const char* width : {"64", "96", "128", "164", "200"}) {
        auto rock = [&](const char* texture) {
            return with_maps(settings_of({"--kind", "mountain", "--iso-width", width, "--seed", "21",
                                          "--lock-mountain-texture", "--mountain-texture", texture}));
        };
        const RenderSettings grey = rock("3"), brown = rock("9");
        for (int index = 0; index < 8; ++index) {
            const RenderedTile a = render_tile(*app, grey, index), b = render_tile(*app, brown, index);
            int rock_pixels = 0;
            for (int y = 0; y < a.image.height(); ++y)
                for (int x = 0; x < a.image.width(); ++x) {
                    if (a.image.pixel(x, y) == b.image.pixel(x, y)) continue;
                    ++rock_pixels;
                    const int beside = std::max({height_at(a, x - 1, y), height_at(a, x + 1, y), height_at(a, x, y - 1),
                                                 height_at(a, x, y + 1)});
                    if (beside > 0) {
                        ASSERT_GT(height_at(a, x, y), 0) << width << " " << index << " at " << x << "," << y;
                    }
                }
            EXPECT_GT(rock_pixels, 100) << width << " " << index;
        }
    }
}

// The relief leaves single pixels of flat ground among its rock where a
// flat sample's segment reaches up or no segment lands: the heights keep
// no such pits inside the mountain's body, with ground round it or none.
TEST(SurfaceMaps, MountainHeightsHaveNoPitsInsideTheirBody) {
    auto app = std::make_unique<Application>(create_app_state());
    for (const char* width : {"64", "128", "200"})
        for (const char* terrain : {"--snow-covered-top", "--no-terrain"}) {
            const RenderSettings settings = with_maps(settings_of(
                {"--kind", "mountain", "--transparent", "--seed", "2", "--iso-width", width, terrain}));
            for (int index = 0; index < 3; ++index) {
                const RenderedTile t = render_tile(*app, settings, index);
                int pits = 0;
                for (int y = 1; y + 1 < t.image.height(); ++y)
                    for (int x = 1; x + 1 < t.image.width(); ++x)
                        pits += height_at(t, x, y) == 0 && height_at(t, x - 1, y) > 0 && height_at(t, x + 1, y) > 0 &&
                                height_at(t, x, y - 1) > 0 && height_at(t, x, y + 1) > 0;
                EXPECT_EQ(pits, 0) << width << " " << terrain << " " << index;
            }
        }
}

TEST(SurfaceMaps, AConiferTrunkTurnsFromLeftToRightAcrossItsWidth) {
    // Drawn straight onto a map to tell the trunk (the first surface named)
    // from the needles that hide most of it.
    auto state = create_app_state();
    SurfaceIds map(260, 260);
    DrawingContext dc(state->canvas, &map);
    RandomSource random;
    random.seed(3);
    TreeCanvas canvas{dc, *state, random, 100};
    const PlantedTree tree = draw_conifer_tree(canvas, true);
    int painted = 0;
    for (int y = 0; y < 260; ++y)
        for (int x = 0; x < 260; ++x) painted += map.at(x, y) == 1;
    EXPECT_GT(painted, 10);
    std::vector<float> turns;
    for (int x = tree.base.x - tree.trunk_width; x <= tree.base.x + tree.trunk_width; ++x)
        turns.push_back(normal_at(map.surface(1), x, tree.base.y).x);
    for (std::size_t k = 1; k < turns.size(); ++k) EXPECT_GT(turns[k], turns[k - 1]);
    EXPECT_LT(turns.front(), -0.5f);
    EXPECT_GT(turns.back(), 0.5f);
}

namespace {
// A 16-bit grey PNG read with libpng's own reader: its bit depth, colour
// type and samples (grey, or grey and alpha interleaved).
struct Grey16 {
    int width = 0, height = 0, bit_depth = 0, colour_type = -1;
    std::vector<std::uint16_t> samples;
};
Grey16 read_grey16(const std::filesystem::path& path) {
    Grey16 out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        out.width = static_cast<int>(png_get_image_width(png, info));
        out.height = static_cast<int>(png_get_image_height(png, info));
        out.bit_depth = png_get_bit_depth(png, info);
        out.colour_type = png_get_color_type(png, info);
        const std::size_t row_bytes = png_get_rowbytes(png, info);
        png_bytepp rows = png_get_rows(png, info);
        for (int y = 0; y < out.height; ++y)
            for (std::size_t k = 0; k + 1 < row_bytes; k += 2)
                out.samples.push_back(static_cast<std::uint16_t>(rows[y][k] << 8 | rows[y][k + 1]));
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return out;
}
}  // namespace

TEST(SurfaceMaps, FilesCarryTheColoursAlphaAndTheLightComesFromTheLeft) {
    const ScratchDir folder("brannoc-maps-");
    const std::string out = (folder.path() / "tiles").string();
    ASSERT_EQ(run_render({"--kind", "house", "--house-shape", "4 x 4", "--lock-shape", "--count", "3", "--transparent",
                          "--trim", "--normals", "--heights", "--lit", "180,30", "--albedo", "--out", out}),
              0);
    // The manifest names each tile's maps as they were written.
    const nlohmann::json first = read_json(std::filesystem::path(out) / "manifest.json")["tiles"][0];
    EXPECT_EQ(first["normals"], "house-0000_n.png");
    EXPECT_EQ(first["heights"], "house-0000_h.png");
    EXPECT_EQ(first["lit"], "house-0000_lit.png");
    EXPECT_EQ(first["albedo"], "house-0000_a.png");
    double left_lit = 0, right_lit = 0;
    int left_count = 0, right_count = 0;
    for (const char* name : {"house-0000", "house-0001", "house-0002"}) {
        const std::filesystem::path base = std::filesystem::path(out) / name;
        const Rgba colour = read_rgba(base.string() + ".png");
        const Rgba normals = read_rgba(base.string() + "_n.png");
        const Rgba lit = read_rgba(base.string() + "_lit.png");
        const Rgba albedo = read_rgba(base.string() + "_a.png");
        const Grey16 heights = read_grey16(base.string() + "_h.png");
        ASSERT_GT(colour.width, 0);
        ASSERT_EQ(normals.width, colour.width);
        ASSERT_EQ(lit.height, colour.height);
        ASSERT_EQ(heights.bit_depth, 16);
        ASSERT_EQ(heights.colour_type, PNG_COLOR_TYPE_GRAY_ALPHA);
        ASSERT_EQ(heights.samples.size(), static_cast<std::size_t>(colour.width) * colour.height * 2);
        for (int y = 0; y < colour.height; ++y)
            for (int x = 0; x < colour.width; ++x) {
                const std::uint8_t a = colour.at(x, y)[3];
                ASSERT_EQ(normals.at(x, y)[3], a);
                ASSERT_EQ(lit.at(x, y)[3], a);
                ASSERT_EQ(albedo.at(x, y)[3], a);
                ASSERT_EQ(heights.samples[2 * (static_cast<std::size_t>(y) * colour.width + x) + 1], a ? 65535 : 0);
                if (!a) continue;
                // Walls, by their normals: facing left (red low) or right (red high), level (blue 128).
                const std::uint8_t* n = normals.at(x, y);
                const std::uint8_t* p = lit.at(x, y);
                const double brightness = p[0] + p[1] + p[2];
                if (n[2] != 128) continue;
                if (n[0] < 30) left_lit += brightness, ++left_count;
                if (n[0] > 225) right_lit += brightness, ++right_count;
            }
    }
    ASSERT_GT(left_count, 100);
    ASSERT_GT(right_count, 100);
    EXPECT_GT(left_lit / left_count, 1.3 * right_lit / right_count);
}

TEST(SurfaceMaps, FilesAreWholeTilesThoughOnlyTheMarkedBoxIsKept) {
    // An untrimmed tree marks a small part of its canvas, flat terrain none
    // of it; the files fill the rest with flat ground at height 0 and the
    // colour, row by row.
    for (const char* kind : {"tree", "terrain"}) {
        const ScratchDir folder("brannoc-box-");
        const std::string out = (folder.path() / "tiles").string();
        const std::vector<std::string> look = {"--kind", kind, "--seed", "3", "--transparent"};
        std::vector<std::string> args = look;
        args.insert(args.end(), {"--count", "1", "--normals", "--heights", "--albedo", "--out", out});
        ASSERT_EQ(run_render(args), 0) << kind;
        const Drawn drawn(look);
        const RenderedTile& t = drawn.tile;
        const LightingMaps& maps = t.lighting_maps;
        ASSERT_LT(4 * maps.normals.width() * maps.normals.height(), t.image.width() * t.image.height());
        const std::filesystem::path base = std::filesystem::path(out) / (std::string(kind) + "-0000");
        const Rgba normals = read_rgba(base.string() + "_n.png"), albedo = read_rgba(base.string() + "_a.png");
        const Grey16 heights = read_grey16(base.string() + "_h.png");
        ASSERT_EQ(normals.width, t.image.width()) << kind;
        ASSERT_EQ(albedo.height, t.image.height()) << kind;
        ASSERT_EQ(heights.samples.size(), 2 * t.alpha.size()) << kind;
        for (int y = 0; y < t.image.height(); ++y)
            for (int x = 0; x < t.image.width(); ++x) {
                const std::uint8_t *n = normals.at(x, y), *a = albedo.at(x, y);
                ASSERT_EQ(rgb(n[0], n[1], n[2]), maps.normal_at(x, y)) << kind << " " << x << "," << y;
                ASSERT_EQ(rgb(a[0], a[1], a[2]), maps.albedo_at(t.image, x, y)) << kind << " " << x << "," << y;
                ASSERT_EQ(heights.samples[2 * (static_cast<std::size_t>(y) * t.image.width() + x)],
                          maps.height_at(x, y));
            }
    }
}

TEST(SurfaceMaps, ABroadleafCrownIsOverlappingDomesNotNoise) {
    // Neighbouring leaves mostly share a dome: their normals differ little.
    auto app = std::make_unique<Application>(create_app_state());
    const RenderSettings trees = with_maps(settings_of({"--kind", "tree", "--iso-width", "128", "--seed", "6"}));
    double turn = 0;
    int pairs = 0;
    for (int index = 0; index < 4; ++index) {
        const RenderedTile t = render_tile(*app, trees, index);
        for (int y = 0; y < t.image.height(); ++y)
            for (int x = 0; x + 1 < t.image.width(); ++x) {
                const Normal a = normal_at(t, x, y), b = normal_at(t, x + 1, y);
                // Leaves: round, above the trunk's foot and not the trunk's upright sides.
                if (a.z > 0.999 || b.z > 0.999 || a.z < 0.05 || b.z < 0.05) continue;
                turn += std::hypot(a.x - b.x, a.y - b.y, a.z - b.z), ++pairs;
            }
    }
    ASSERT_GT(pairs, 500);
    EXPECT_LT(turn / pairs, 0.3);  // one dome per leaf, interleaved, differs by over 0.5
}

TEST(SurfaceMaps, ATransitionsUpperSideStandsOnALipFacingTheLowSide) {
    auto app = std::make_unique<Application>(create_app_state());
    const RenderSettings edge =
        with_maps(settings_of({"--kind", "transition", "--terrains", "ground:3,rock:2", "--iso-width", "128"}));
    // Rock (B, the upper side) at the top corner alone, then at the bottom corner alone.
    for (const int mask : {1, 4}) {
        const RenderedTile t = render_tile(*app, edge, mask);
        int top = 0;
        for (const std::uint16_t h : t.lighting_maps.heights) top = std::max<int>(top, h);
        ASSERT_GT(top, 0) << mask;
        double facing = 0;
        int lip = 0;
        for (int y = 0; y < t.image.height(); ++y)
            for (int x = 0; x < t.image.width(); ++x) {
                const int h = height_at(t, x, y);
                if (h == 0 || h == top) continue;
                facing += normal_at(t, x, y).y, ++lip;
                EXPECT_LT(normal_at(t, x, y).z, 0.99) << mask;  // a slope, not flat
            }
        ASSERT_GT(lip, 30) << mask;
        // Down the screen, towards the viewer, when the low ground lies in front.
        if (mask == 1) EXPECT_LT(facing / lip, -0.2);
        else EXPECT_GT(facing / lip, 0.2);
    }
    // A shore: the water, foam and all, flat at its level; the land above it.
    const RenderSettings shore =
        with_maps(settings_of({"--kind", "transition", "--terrains", "ground:3,water:0", "--iso-width", "64"}));
    const RenderedTile water = render_tile(*app, shore, 15), land = render_tile(*app, shore, 0);
    EXPECT_EQ(std::count(water.lighting_maps.heights.begin(), water.lighting_maps.heights.end(), 0),
              std::ssize(water.lighting_maps.heights));
    EXPECT_GT(height_at(land, 130, 180), 0);
}
