// A transition set as a build script makes it: the sixteen tiles of two
// terrains at width 64 on one transparent sheet (16 x variants with
// variants), with its Tiled tileset, sample map and Godot TileSet, start-up
// and writing included. The same set as over tiles (--over), which paint
// each point three times to find its coverage.
#include "app/render/batch_run.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {
void run_sheet(benchmark::State& state, bool over) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::filesystem::path folder = base / ("brannoc-transition-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    RenderSettings settings;
    settings.kind = TileKind::transition;
    settings.terrain_a = {TerrainKind::ground, 10};
    settings.terrain_b = {TerrainKind::water, 0};
    settings.iso_width = 64;
    settings.variants = static_cast<int>(state.range(1));
    settings.count = corner_masks * settings.variants;
    settings.transparent = true;
    settings.over = over;
    settings.jobs = static_cast<int>(state.range(0));
    settings.quiet = true;
    settings.sheet = (folder / "shore.png").string();
    settings.tmx = (folder / "shore.tmx").string();
    settings.godot = (folder / "shore.tres").string();
    for (auto _ : state)
        if (run_batch(settings, stderr) != 0) state.SkipWithError("the run failed");
    std::filesystem::remove_all(folder);
}

void BM_TransitionSheet(benchmark::State& state) { run_sheet(state, false); }
void BM_OverTransitionSheet(benchmark::State& state) { run_sheet(state, true); }
}  // namespace

BENCHMARK(BM_TransitionSheet)
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 8})
    ->ArgNames({"jobs", "variants"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_OverTransitionSheet)
    ->Args({1, 8})
    ->ArgNames({"jobs", "variants"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
