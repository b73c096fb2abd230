// world.png against Tiled's own render of world.tmx: a synthetic map with
// every case the world has (tiles taller than the diamond and moved by their
// tileset, partial alpha over partial alpha, a layer lifted by a negative
// offset, overlapping tile objects in both draw orders, an animated tile
// shown at its first frame) must come out of tmxrasterizer exactly as
// composite_map draws it.
#include "export/formats/animation_files.hpp"
#include "export/formats/tiled_files.hpp"
#include "export/map/map_composite.hpp"
#include "export/map/tiled_placement.hpp"
#include "export/formats/world_tmx.hpp"

#include "../support/render_run.hpp"
#include "canvas/png_writer.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

namespace {
struct TestSheet {
    SheetLayout layout;
    Sheet sheet;
};

// count cells of cell_w x cell_h around the anchor, filled with noise: a
// clear border, a faint band (alpha 1 to 254, many near the ends) and an
// opaque body with scattered partial pixels.
TestSheet noise_sheet(int iso_width, int cell_w, int cell_h, int anchor_x, int anchor_y, int count, int columns,
                      std::mt19937& random) {
    TestSheet s;
    SheetLayout& l = s.layout;
    l.diamond_width = iso_width;
    l.diamond_height = iso_width / 2;
    l.cell_width = cell_w;
    l.cell_height = cell_h;
    l.anchor_x = anchor_x;
    l.anchor_y = anchor_y;
    place_cells(l, count, columns, 1, 2);
    s.sheet = {RasterImage(l.width, l.height), std::vector<std::uint8_t>(static_cast<std::size_t>(l.width) * l.height)};
    std::uniform_int_distribution<int> byte(0, 255), faint(1, 6), pick(0, 9);
    for (int k = 0; k < count; ++k)
        for (int y = 0; y < cell_h; ++y)
            for (int x = 0; x < cell_w; ++x) {
                const int px = l.cell_x(k) + x, py = l.cell_y(k) + y;
                int a = 0;
                if (x > 1 && x < cell_w - 2 && y > 0) {
                    const int p = pick(random);
                    if (y < cell_h / 3) a = p < 3 ? faint(random) : p < 6 ? 255 - faint(random) : byte(random);
                    else a = p == 0 ? byte(random) : 255;
                }
                s.sheet.image.set_pixel(px, py, rgb(byte(random), byte(random), byte(random)));
                s.sheet.alpha[static_cast<std::size_t>(py) * l.width + px] = static_cast<std::uint8_t>(a);
            }
    return s;
}

void write(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }
void write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Writes the map, its tilesets and sheets, has Tiled render it and compares.
void expect_tiled_draws_it(int iso_width, int map_w, int map_h, unsigned seed) {
    const TempCurrentDir dir("brannoc-world-composite-");
    std::mt19937 random(seed);
    const int w = iso_width, h = iso_width / 2;
    // Ground: taller than the diamond, wider, anchored off the middle.
    const TestSheet ground = noise_sheet(w, w + 4, h + h / 2 + 6, w / 2 + 1, h + 3, 5, 2, random);
    // Things: tall and narrow, like trees (of even width, as every sheet's cells).
    const int thin = w / 2 + w / 2 % 2;
    const TestSheet things = noise_sheet(w, thin, w, w / 4, w - 2, 3, 3, random);

    MapModel map;
    map.width = map_w;
    map.height = map_h;
    map.tile_width = w;
    map.tile_height = h;
    map.tilesets = {map_tileset(ground.layout, ground.sheet, "ground", "ground.tsx", 1),
                    map_tileset(things.layout, things.sheet, "things", "things.tsx", 11)};
    ASSERT_NE(map.tilesets[0].offset_x, 0);
    ASSERT_NE(map.tilesets[1].offset_y, 0);
    const std::size_t cells = static_cast<std::size_t>(map_w) * map_h;
    MapTileLayer base{"base", 0, 0, std::vector<std::uint32_t>(cells)};
    MapTileLayer lifted{"lifted", 0, -h / 4 - 3, std::vector<std::uint32_t>(cells)};
    MapTileLayer moved{"moved", 3, 5, std::vector<std::uint32_t>(cells)};
    for (std::size_t i = 0; i < cells; ++i) {
        base.gids[i] = 1 + random() % 5;
        if (random() % 3 == 0) lifted.gids[i] = 1 + random() % 5;
        if (random() % 4 == 0) moved.gids[i] = 11 + random() % 3;
    }
    // Objects crowd the top corner (cut by the frame) and overlap each other.
    MapObjectLayer objects{"objects", 0, 0, MapDrawOrder::index, {}};
    MapObjectLayer sorted{"sorted", -2, -7, MapDrawOrder::top_down, {}};
    int id = 1;
    // Each stands on a whole screen point, as the world's objects do.
    for (int i = 0; i < 6; ++i) {
        const bool tall = i % 2 == 0;
        const auto [x, y] =
            tiled_object_point(map, map_h * w / 2 - h / 2 + 8 * i - (i % 3) * 4, (3 * h / 2 + 4 * i + (i % 3) * 4) / 2);
        (tall ? sorted : objects)
            .objects.push_back({id++, tall ? 11u + i % 3 : 1u + i % 5, "thing", tall ? "tree" : "rock", x, y,
                                tall ? thin : w + 4, tall ? w : h + h / 2 + 6});
    }
    sorted.objects.push_back({id++, 12, "tie", "", sorted.objects[0].x + 10, sorted.objects[0].y - 10, thin, w});
    map.layers = {base, lifted, objects, moved, sorted};
    ASSERT_EQ(map_composite_problem(map), std::nullopt);

    write("ground.png", *encode_png(ground.sheet.image, &ground.sheet.alpha));
    write("things.png", *encode_png(things.sheet.image, &things.sheet.alpha));
    // Ground tile 0 moves through tiles 0 and 1, as water does: Tiled shows frame 0.
    write("ground.tsx",
          tiled_tileset(ground.layout, {"ground", "ground.png", false, {{0, {}, {tiled_animation(0, 2, 100)}}}}));
    write("things.tsx", tiled_tileset(things.layout, {"things", "things.png"}));
    write("world.tmx", world_tmx(map));
    ASSERT_EQ(std::system("QT_QPA_PLATFORM=offscreen tmxrasterizer world.tmx tiled.png >/dev/null 2>&1"), 0)
        << "tmxrasterizer (Debian package tiled) must be installed";

    const Rgba tiled = read_rgba(dir.path() / "tiled.png");
    const Sheet ours = composite_map(map, 2);
    ASSERT_EQ(tiled.width, ours.image.width());
    ASSERT_EQ(tiled.height, ours.image.height());
    long differing = 0;
    std::string first;
    for (int y = 0; y < tiled.height; ++y)
        for (int x = 0; x < tiled.width; ++x) {
            const std::uint8_t* t = tiled.at(x, y);
            const std::uint8_t* o = ours.image.row(y) + 3 * x;
            const std::uint8_t a = ours.alpha[static_cast<std::size_t>(y) * tiled.width + x];
            if (t[0] == o[0] && t[1] == o[1] && t[2] == o[2] && t[3] == a) continue;
            if (differing++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + "): Tiled " + std::to_string(t[0]) + " " +
                        std::to_string(t[1]) + " " + std::to_string(t[2]) + " " + std::to_string(t[3]) + ", ours " +
                        std::to_string(o[0]) + " " + std::to_string(o[1]) + " " + std::to_string(o[2]) + " " +
                        std::to_string(a);
        }
    EXPECT_EQ(differing, 0) << "first at " << first;
}
}  // namespace

TEST(WorldComposite, EqualsTiledsRenderAtWidth64) { expect_tiled_draws_it(64, 6, 6, 1); }
TEST(WorldComposite, EqualsTiledsRenderAtWidth128) { expect_tiled_draws_it(128, 4, 4, 2); }
TEST(WorldComposite, EqualsTiledsRenderOnANonSquareMap) { expect_tiled_draws_it(64, 9, 4, 3); }

// Rows on half pixels, and these layers' tilesets start Tiled's rows half a
// pixel below the grid's.
TEST(WorldComposite, EqualsTiledsRenderAtOddTileHeights) {
    for (const auto& [width, seed] : {std::pair{42, 1u}, {50, 1u}, {66, 2u}, {110, 1u}})
        expect_tiled_draws_it(width, 5, 7, seed);
}
