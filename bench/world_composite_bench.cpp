// The world's map image and .tmx at the size a world command makes: a
// 256 x 256 map at width 64 (a 16384 x 8192 image) with three layers over
// all of it (opaque ground, partly clear shore edges with faint foam, a
// lifted level on a third of the cells) and 5000 tree objects.
#include "export/map/map_composite.hpp"
#include "export/formats/world_tmx.hpp"

#include <benchmark/benchmark.h>

#include <random>

namespace {
constexpr int side = 256, iso = 64;

// Diamond tiles in cells of iso x (iso / 2 + 16): opaque, or for the foam a
// clear diamond with a faint band along its top edges.
Sheet tile_sheet(SheetLayout& l, bool foam) {
    l.diamond_width = iso;
    l.diamond_height = iso / 2;
    l.cell_width = iso;
    l.cell_height = iso / 2 + 16;
    l.anchor_x = iso / 2 - 1;
    l.anchor_y = l.cell_height - iso / 4 - 1;
    place_cells(l, 16, 4, 0, 0);
    Sheet s{RasterImage(l.width, l.height), std::vector<std::uint8_t>(static_cast<std::size_t>(l.width) * l.height)};
    for (int k = 0; k < 16; ++k)
        for (int y = 0; y < l.cell_height; ++y)
            for (int x = 0; x < l.cell_width; ++x) {
                const int dx = std::abs(2 * (x - l.anchor_x) - 1), dy = std::abs(4 * (y - l.anchor_y) + 1);
                const int inside = iso - 1 - dx - dy;  // > 0 inside the diamond (16 tall above it for cliffs)
                const int a = inside < 0 && !(y < l.anchor_y && dx < iso / 2 && !foam) ? 0
                              : !foam                                                  ? 255
                              : y < l.anchor_y && inside < 24                          ? 40 + 8 * (inside % 24)
                                                                                       : 0;
                s.image.set_pixel(l.cell_x(k) + x, l.cell_y(k) + y, rgb(40 + 10 * k, 90 + x, 60 + y));
                s.alpha[static_cast<std::size_t>(l.cell_y(k) + y) * l.width + l.cell_x(k) + x] =
                    static_cast<std::uint8_t>(a);
            }
    return s;
}

// Trees: an opaque trunk and crown over a faint shadow.
Sheet tree_sheet(SheetLayout& l) {
    l.diamond_width = iso;
    l.diamond_height = iso / 2;
    l.cell_width = iso / 2;
    l.cell_height = iso;
    l.anchor_x = iso / 4;
    l.anchor_y = iso - 4;
    place_cells(l, 4, 4, 0, 0);
    Sheet s{RasterImage(l.width, l.height), std::vector<std::uint8_t>(static_cast<std::size_t>(l.width) * l.height)};
    for (int y = 0; y < l.height; ++y)
        for (int x = 0; x < l.width; ++x) {
            const int cx = x % l.cell_width - l.cell_width / 2, cy = y - l.cell_height / 3;
            const bool crown = cx * cx + cy * cy < 120, trunk = std::abs(cx) < 2 && y > l.cell_height / 3;
            const bool shadow = y > l.cell_height - 8 && std::abs(cx) < 12;
            s.image.set_pixel(x, y, rgb(30, 100 + y, 40));
            s.alpha[static_cast<std::size_t>(y) * l.width + x] = crown || trunk ? 255 : shadow ? 90 : 0;
        }
    return s;
}

struct BenchWorld {
    SheetLayout ground_layout, foam_layout, tree_layout;
    Sheet ground = tile_sheet(ground_layout, false), foam = tile_sheet(foam_layout, true),
          trees = tree_sheet(tree_layout);
    MapModel map;
    BenchWorld() {
        map.width = map.height = side;
        map.tile_width = iso;
        map.tile_height = iso / 2;
        map.tilesets = {map_tileset(ground_layout, ground, "ground", "ground.tsx", 1),
                        map_tileset(foam_layout, foam, "foam", "foam.tsx", 17),
                        map_tileset(tree_layout, trees, "trees", "trees.tsx", 33)};
        std::mt19937 random(5);
        const std::size_t cells = static_cast<std::size_t>(side) * side;
        MapTileLayer base{"level0_grass", 0, 0, std::vector<std::uint32_t>(cells)}, edges = base, lifted = base;
        edges.name = "level0_shore";
        lifted.name = "level1_grass";
        lifted.offset_y = -16;
        for (std::size_t i = 0; i < cells; ++i) {
            base.gids[i] = 1 + random() % 16;
            edges.gids[i] = 17 + random() % 16;
            if (random() % 3 == 0) lifted.gids[i] = 1 + random() % 16;
        }
        MapObjectLayer objects{"objects", 0, 0, MapDrawOrder::index, {}};
        for (int id = 1; id <= 5000; ++id) {
            const int cell = static_cast<int>(random() % cells);
            const int cx = cell % side, cy = cell / side;
            objects.objects.push_back({id, static_cast<std::uint32_t>(33 + id % 4), "tree", "tree",
                                       double((cx + 1) * iso / 2 + 8), double((cy + 1) * iso / 2 - 8), iso / 2, iso});
        }
        map.layers = {base, edges, lifted, objects};
    }
};

void BM_CompositeMap(benchmark::State& state) {
    static const BenchWorld world;
    if (const Problem problem = map_composite_problem(world.map)) state.SkipWithError(problem->c_str());
    for (auto _ : state) benchmark::DoNotOptimize(composite_map(world.map, static_cast<int>(state.range(0))));
}

// The .tmx of the same map with twenty tile layers (most of them sparse).
void BM_WorldTmx(benchmark::State& state) {
    static const BenchWorld world;
    MapModel map = world.map;
    const MapTileLayer& lifted = std::get<MapTileLayer>(map.layers[2]);
    for (int i = 0; i < 17; ++i) map.layers.insert(map.layers.begin() + 3, lifted);
    std::size_t bytes = 0;
    for (auto _ : state) bytes = world_tmx(map).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
}  // namespace

BENCHMARK(BM_CompositeMap)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("jobs")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_WorldTmx)->Unit(benchmark::kMillisecond);
