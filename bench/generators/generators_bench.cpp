// Time per tile of the water and tree generators at iso widths 40, 100 and
// 200, each beside a floor: the same number of random draws and pixel writes
// with none of the generator's arithmetic, so the gap is the generator's own.

#include "commands/application.hpp"
#include "state/control_ids.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/numbers.hpp"
#include "canvas/tile_geometry.hpp"
#include "state/tile_setup.hpp"
#include "generators/tile_kinds.hpp"
#include "generators/house/house_tile.hpp"
#include "generators/mountain/mountain_tile.hpp"
#include "generators/terrain/terrain.hpp"
#include "generators/tree/tree_tile.hpp"
#include "generators/water/water_tile.hpp"
#include "generators/mountain/height_field.hpp"
#include "generators/terrain/terrain_layout.hpp"
#include "generators/tree/trees.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {
struct TreeKind {
    bool conifer;
    bool multi_tree;
    int leaves_item;
};
constexpr TreeKind full_broadleaf{false, false, 10};
constexpr TreeKind lone_conifer{true, false, 4};
constexpr TreeKind multi_broadleaf{false, true, 4};

int width_item(int iso_width) { return (iso_width - 40) / 10; }

std::unique_ptr<Application> started(int iso_width, int tab, TreeKind kind = {}) {
    auto app = std::make_unique<Application>(create_app_state());
    app->random().seed(1);
    ControlModel& controls = app->controls();
    controls.write(ctl::panel, tab);
    controls.write(ctl::iso_width, width_item(iso_width));
    controls.write(ctl::conifer, kind.conifer);
    controls.write(ctl::multi_tree, kind.multi_tree);
    controls.write(ctl::leaves_percent, kind.leaves_item);
    TileContext context = app->context();
    set_tile_geometry(context);
    return app;
}

void time_tiles(benchmark::State& state, void (*draw)(TileContext&), int tab, TreeKind kind) {
    auto app = started(static_cast<int>(state.range(0)), tab, kind);
    TileContext context = app->context();
    for (auto _ : state) {
        draw(context);
        benchmark::ClobberMemory();
    }
}

// Random draws and pixel writes per tile, averaged over many trees. Draws
// are counted from the counts the trees report; line pixels are estimated
// from the tree's size, so the tree floors are approximate.
struct Work {
    double draws = 0;
    double plots = 0;
};

Work tree_work(int iso_width, TreeKind kind) {
    constexpr int samples = 200;
    auto app = started(iso_width, tab_tree, kind);
    AppState& s = app->state();
    const TreeSettings settings = read_tree_settings(app->controls());
    const int h = s.geometry.half_width;
    Work work;
    for (int n = 0; n < samples; ++n) {
        DrawingContext dc(s.canvas);
        TreeCanvas canvas{dc, s, app->random(), h};
        const TreePlanting planting = plant_trees(canvas, settings);
        work.draws += 1;  // the tree count
        for (int t = 0; t < planting.count; ++t) {
            const PlantedTree& tree = planting.trees[t];
            const double ht = tree.size;
            if (settings.conifer) {
                const double crown = 1.5 * ht;
                work.draws += 4 + tree.tier_count * 182.0 + 2.0 * tree.stroke_count;
                work.plots += (2 * tree.trunk_width + 1) * (0.8 * crown + 1) + tree.stroke_count * (ht / 4 + 1);
            } else {
                const double leaves = ht * 5 * settings.broadleaf.leaf_percent / 100;
                const int b = tree.branch_count, c = tree.cluster_count;
                work.draws += 4 + (ht + 1) * 1.3 + (b + 1) + 2.0 * b + (c + 1) + 3.0 * c + 2.0 * leaves * c;
                work.plots += 5 * (ht + 1) + b * 0.75 * ht + leaves * c;
            }
        }
    }
    work.draws /= samples;
    work.plots /= samples;
    return work;
}

// Terrain settings: the default mix, a swamp, and every box ticked.
struct TerrainKind {
    std::vector<int> boxes;
};
const TerrainKind default_terrain{{ctl::grass, ctl::boulder, ctl::bush, ctl::pool}};
const TerrainKind swamp_terrain{{ctl::swamp}};
const TerrainKind all_terrain{{ctl::grass, ctl::boulder, ctl::bush, ctl::terrain_tree, ctl::pool, ctl::swamp}};

std::unique_ptr<Application> started_terrain(int iso_width, const TerrainKind& kind) {
    auto app = started(iso_width, tab_terrain);
    for (int box : kind.boxes) app->controls().write(box, 1);
    return app;
}

// Draws are counted exactly; writes are estimated from the layout: two per
// ground point and pool cell, one per boulder texel (each has its noise
// draw), two strokes per blade, two per bush stroke pixel. Tree pixels are
// left out, so the everything floor is low.
Work terrain_work(int iso_width, const TerrainKind& kind) {
    constexpr int samples = 100;
    auto app = started_terrain(iso_width, kind);
    TileContext context = app->context();
    const int h = iso_width / 2;
    Work work;
    for (int n = 0; n < samples; ++n) {
        const std::uint64_t before = context.random.draw_count();
        draw_terrain_tile(context);
        const double draws = static_cast<double>(context.random.draw_count() - before);
        work.draws += draws;
        double plots = 2.0 * h * h;
        int boulders = 0;
        for (int j = 0; j <= h; ++j)
            for (int i = 0; i <= h; ++i) switch (terrain_cell(context.state, i, j)) {
                    case cell_pool: plots += 2; break;
                    case cell_grass: plots += 2 * 6 + 2; break;  // the mean unlocked height
                    case cell_bush: plots += 11.5 * 2 * (h / 6 * 1.5 + 1); break;
                    case cell_boulder: ++boulders; break;
                    default: break;
                }
        // Every boulder draw but its four set-up draws paints one pixel.
        plots += boulders > 0 ? std::max(0.0, draws - 2.0 * h * h) * 0.5 : 0;
        work.plots += plots;
    }
    work.draws /= samples;
    work.plots /= samples;
    return work;
}

// A mountain with snow and border. Draws are counted exactly; writes are
// the underlay's two per point plus the pixels of every segment, replayed
// from the height field the tile leaves in the state.
std::unique_ptr<Application> started_mountain(int iso_width) {
    auto app = started(iso_width, tab_mountain);
    app->controls().write(ctl::snow_covered_top, 1);
    app->controls().write(ctl::add_black_border, 1);
    return app;
}

double relief_plots(const AppState& s) {
    const TileGeometry& g = s.geometry;
    const int across = g.tile_right_x - g.tile_left_x, deep = g.tile_bottom_y - g.tile_top_y;
    const double sx = static_cast<float>(across / 128.0), sy = static_cast<float>(deep / 128.0);
    double plots = 0;
    for (int row = 1; row <= deep - 1; ++row)
        for (int col = 0; col <= across - 2; ++col) {
            const int u = nearest_to_int(col / sx), w = nearest_to_int(row / sy);
            const int h0 = std::max(nearest_to_int(height_field_at(s.height_field, u, w)), 0);
            const int h1 = std::max(nearest_to_int(height_field_at(s.height_field, u, w + 1)), 0);
            const int y = nearest_to_int(row / 2.0 + col / 4.0 - h0);
            const int y2 = nearest_to_int((row + 1) / 2.0 + col / 4.0 - h1);
            plots += 2.0 * (std::max(1, std::abs(y2 - y)) + 1);  // x moves by one
        }
    return plots;
}

Work mountain_work(int iso_width) {
    constexpr int samples = 50;
    auto app = started_mountain(iso_width);
    TileContext context = app->context();
    const int h = iso_width / 2;
    Work work;
    for (int n = 0; n < samples; ++n) {
        const std::uint64_t before = context.random.draw_count();
        draw_mountain_tile(context);
        work.draws += static_cast<double>(context.random.draw_count() - before);
        work.plots += 2.0 * h * h + relief_plots(context.state);
    }
    work.draws /= samples;
    work.plots /= samples;
    return work;
}

// Houses at a fixed width (the size locked), the other parameters drawn as
// the window draws them: a default house, a ruin, and one with ground,
// flowers and both fences.
enum class HouseKind { plain, ruin, dressed };

std::unique_ptr<Application> started_house(int iso_width, HouseKind kind) {
    auto app = started(iso_width, tab_house);
    ControlModel& c = app->controls();
    c.write(ctl::lock_size, 1);
    c.write(ctl::draw_ruins, kind == HouseKind::ruin);
    for (int box : {ctl::add_ground, ctl::add_flowers, ctl::add_left_fence, ctl::add_right_fence})
        c.write(box, kind == HouseKind::dressed);
    if (kind == HouseKind::dressed) c.write(ctl::grass, 1);
    return app;
}

// Draws counted exactly; writes are two per wall pixel (the projection's
// two half-pixel columns), two per roof texel, and for the ground two per
// point. Openings, rubble, flowers and fences are left out, so the floor is
// low.
Work house_work(int iso_width, HouseKind kind) {
    constexpr int samples = 100;
    auto app = started_house(iso_width, kind);
    TileContext context = app->context();
    Work work;
    for (int n = 0; n < samples; ++n) {
        const std::uint64_t before = context.random.draw_count();
        draw_house_tile(context);
        work.draws += static_cast<double>(context.random.draw_count() - before);
        const TileGeometry& g = context.state.geometry;
        const int shape = context.controls.read(ctl::house_shape);
        const int height = context.state.house_height;
        for (int face = 1; face <= 4; ++face) {
            const int width = wall_face_width(g, shape, face);
            work.plots += 2.0 * width * (face <= 2 ? height + width / 2 : height);
        }
        if (kind != HouseKind::ruin) {
            const int a = g.house_front_x - g.house_left_x, b = g.house_right_x - g.house_front_x;
            work.plots += 2.0 * (std::max(a, b) + 1) * (std::max(a, b) + g.house_size / 20 + 1);
        }
        if (kind == HouseKind::dressed) work.plots += 2.0 * g.half_width * g.half_width;
    }
    work.draws /= samples;
    work.plots /= samples;
    return work;
}

// The bare cost of a tile's draws and writes, plus the clear and the copy
// every tile makes.
void time_floor(benchmark::State& state, Work work) {
    auto app = started(static_cast<int>(state.range(0)), tab_water);
    TileContext context = app->context();
    RandomSource& random = context.random;
    const long draws = static_cast<long>(work.draws);
    const long plots = static_cast<long>(work.plots);
    for (auto _ : state) {
        begin_tile(context, tile_area_colour);
        DrawingContext dc(context.state.canvas);
        int sum = 0;
        for (long n = 0; n < draws; ++n) sum += random_below(random, 100);
        for (long n = 0; n < plots; ++n) dc.plot(static_cast<int>(n * 7) % 260, static_cast<int>(n * 13) % 260, sum);
        show_tile(context);
        benchmark::ClobberMemory();
    }
    state.counters["draws"] = work.draws;
    state.counters["plots"] = work.plots;
}

// What every tile costs before any generator paints: the clear and the copy.
void BM_TileFrame(benchmark::State& state) { time_floor(state, {}); }

void BM_WaterTile(benchmark::State& state) { time_tiles(state, draw_water_tile, tab_water, {}); }
void BM_BroadleafTile100(benchmark::State& state) { time_tiles(state, draw_tree_tile, tab_tree, full_broadleaf); }
void BM_ConiferTile(benchmark::State& state) { time_tiles(state, draw_tree_tile, tab_tree, lone_conifer); }
void BM_MultiTreeTile(benchmark::State& state) { time_tiles(state, draw_tree_tile, tab_tree, multi_broadleaf); }

void time_terrain(benchmark::State& state, const TerrainKind& kind) {
    auto app = started_terrain(static_cast<int>(state.range(0)), kind);
    TileContext context = app->context();
    for (auto _ : state) {
        draw_terrain_tile(context);
        benchmark::ClobberMemory();
    }
}
void BM_TerrainDefaultTile(benchmark::State& state) { time_terrain(state, default_terrain); }
void BM_TerrainSwampTile(benchmark::State& state) { time_terrain(state, swamp_terrain); }
void BM_TerrainEverythingTile(benchmark::State& state) { time_terrain(state, all_terrain); }
void BM_TerrainDefaultFloor(benchmark::State& state) {
    time_floor(state, terrain_work(static_cast<int>(state.range(0)), default_terrain));
}
void BM_TerrainSwampFloor(benchmark::State& state) {
    time_floor(state, terrain_work(static_cast<int>(state.range(0)), swamp_terrain));
}
void BM_TerrainEverythingFloor(benchmark::State& state) {
    time_floor(state, terrain_work(static_cast<int>(state.range(0)), all_terrain));
}

void BM_MountainTile(benchmark::State& state) {
    auto app = started_mountain(static_cast<int>(state.range(0)));
    TileContext context = app->context();
    for (auto _ : state) {
        draw_mountain_tile(context);
        benchmark::ClobberMemory();
    }
}
void BM_MountainFloor(benchmark::State& state) { time_floor(state, mountain_work(static_cast<int>(state.range(0)))); }

void time_house(benchmark::State& state, HouseKind kind) {
    auto app = started_house(static_cast<int>(state.range(0)), kind);
    TileContext context = app->context();
    for (auto _ : state) {
        draw_house_tile(context);
        benchmark::ClobberMemory();
    }
}
void BM_HouseTile(benchmark::State& state) { time_house(state, HouseKind::plain); }
void BM_HouseFloor(benchmark::State& state) {
    time_floor(state, house_work(static_cast<int>(state.range(0)), HouseKind::plain));
}
void BM_RuinTile(benchmark::State& state) { time_house(state, HouseKind::ruin); }
void BM_RuinFloor(benchmark::State& state) {
    time_floor(state, house_work(static_cast<int>(state.range(0)), HouseKind::ruin));
}
void BM_DressedHouseTile(benchmark::State& state) { time_house(state, HouseKind::dressed); }
void BM_DressedHouseFloor(benchmark::State& state) {
    time_floor(state, house_work(static_cast<int>(state.range(0)), HouseKind::dressed));
}

void BM_WaterFloor(benchmark::State& state) {
    const double h = static_cast<double>(state.range(0) / 2);
    time_floor(state, {2 * h * h + 2, 2 * h * h});
}
void BM_BroadleafFloor100(benchmark::State& state) {
    time_floor(state, tree_work(static_cast<int>(state.range(0)), full_broadleaf));
}
void BM_ConiferFloor(benchmark::State& state) {
    time_floor(state, tree_work(static_cast<int>(state.range(0)), lone_conifer));
}
void BM_MultiTreeFloor(benchmark::State& state) {
    time_floor(state, tree_work(static_cast<int>(state.range(0)), multi_broadleaf));
}
}  // namespace

#define WIDTHS Arg(40)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_TileFrame)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaterTile)->WIDTHS;
BENCHMARK(BM_WaterFloor)->WIDTHS;
BENCHMARK(BM_BroadleafTile100)->WIDTHS;
BENCHMARK(BM_BroadleafFloor100)->WIDTHS;
BENCHMARK(BM_ConiferTile)->WIDTHS;
BENCHMARK(BM_ConiferFloor)->WIDTHS;
BENCHMARK(BM_MultiTreeTile)->WIDTHS;
BENCHMARK(BM_MultiTreeFloor)->WIDTHS;
BENCHMARK(BM_TerrainDefaultTile)->WIDTHS;
BENCHMARK(BM_TerrainDefaultFloor)->WIDTHS;
BENCHMARK(BM_TerrainSwampTile)->WIDTHS;
BENCHMARK(BM_TerrainSwampFloor)->WIDTHS;
BENCHMARK(BM_TerrainEverythingTile)->WIDTHS;
BENCHMARK(BM_TerrainEverythingFloor)->WIDTHS;
BENCHMARK(BM_MountainTile)->WIDTHS;
BENCHMARK(BM_MountainFloor)->WIDTHS;
#define HOUSE_WIDTHS Arg(90)->Arg(100)->Arg(160)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_HouseTile)->HOUSE_WIDTHS;
BENCHMARK(BM_HouseFloor)->HOUSE_WIDTHS;
BENCHMARK(BM_RuinTile)->HOUSE_WIDTHS;
BENCHMARK(BM_RuinFloor)->HOUSE_WIDTHS;
BENCHMARK(BM_DressedHouseTile)->HOUSE_WIDTHS;
BENCHMARK(BM_DressedHouseFloor)->HOUSE_WIDTHS;
