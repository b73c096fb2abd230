// A whole world, as `brannoc-render world` makes it: fields, layout, the
// tiles and objects drawn on every core, sheets, the Tiled map, its render
// and the Godot scenes, all in memory (the files' writing is not counted).
#include "export/world/world_build.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <thread>

namespace {
void BM_BuildWorld(benchmark::State& state) {
    const std::unique_ptr<AppState> prototype = create_app_state();
    RenderSettings run;
    run.world = true;
    run.iso_width = 64;
    run.variants = 4;
    run.seed = 7;
    run.world_shape.width = run.world_shape.height = static_cast<int>(state.range(0));
    run.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (auto _ : state) {
        WorldFiles files = build_world(run, *prototype);
        benchmark::DoNotOptimize(files.files.data());
    }
}
BENCHMARK(BM_BuildWorld)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A 64 x 64 world with moving water, 8 frames: swaying in place (flow 0),
// or flowing (flow 1, towards 45 degrees). Flowing water must cost about
// what the moving water it draws needs, not several times the world.
void BM_BuildMovingWorld(benchmark::State& state) {
    const std::unique_ptr<AppState> prototype = create_app_state();
    RenderSettings run;
    run.world = true;
    run.iso_width = 64;
    run.variants = 4;
    run.seed = 7;
    run.loop_frames = 8;
    if (state.range(0) != 0) run.flow = 45.0;
    run.world_shape.width = run.world_shape.height = 64;
    run.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (auto _ : state) {
        WorldFiles files = build_world(run, *prototype);
        benchmark::DoNotOptimize(files.files.data());
    }
}
BENCHMARK(BM_BuildMovingWorld)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
}  // namespace
