#include "canvas/bmp_writer.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/random_source.hpp"
#include "state/tile_setup.hpp"
#include "commands/application.hpp"
#include "state/control_ids.hpp"

#include <benchmark/benchmark.h>

#include <unistd.h>

// One plot per pixel of the 260 x 260 canvas.
static void BM_PlotPerPixel(benchmark::State& state) {
    RasterImage canvas(260, 260);
    DrawingContext dc(canvas);
    for (auto _ : state) {
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x) dc.plot(x, y, x ^ y);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 260 * 260);
}
BENCHMARK(BM_PlotPerPixel);

static void BM_PointPerPixel(benchmark::State& state) {
    RasterImage canvas(260, 260);
    DrawingContext dc(canvas);
    for (auto _ : state) {
        Colour sum = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x) sum += dc.point(x, y);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 260 * 260);
}
BENCHMARK(BM_PointPerPixel);

static void BM_RandomBelow(benchmark::State& state) {
    RandomSource random(1);
    for (auto _ : state) benchmark::DoNotOptimize(random_below(random, 100));
}
BENCHMARK(BM_RandomBelow);

static void BM_BeginTile(benchmark::State& state) {
    auto app_state = create_app_state();
    Application app(std::move(app_state));
    app.controls().write(ctl::draw_tile_area, 1);
    TileContext ctx = app.context();
    set_tile_geometry(ctx);
    for (auto _ : state) {
        begin_tile(ctx, tile_area_colour);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BeginTile);

static void BM_WriteBmp(benchmark::State& state) {
    const RasterImage image(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string path = "/tmp/brannoc-bench-" + std::to_string(::getpid()) + ".bmp";
    for (auto _ : state) benchmark::DoNotOptimize(write_bmp(image, path).ok);
    ::unlink(path.c_str());
}
BENCHMARK(BM_WriteBmp)->Args({260, 260})->Args({1200, 1000})->Unit(benchmark::kMillisecond);

static void BM_EncodeBmp(benchmark::State& state) {
    const RasterImage image(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(bmp_file_bytes(image));
}
BENCHMARK(BM_EncodeBmp)->Args({260, 260})->Args({1200, 1000})->Unit(benchmark::kMicrosecond);
