// A slope set as a build script makes it: the sixteen corner heights of one
// ground at width 64 on one transparent sheet, with its Tiled tileset, sample
// hill and Godot TileSet, start-up and writing included; and the same of a
// cliff set.
#include "app/render/batch_run.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {
void BM_SlopeSheet(benchmark::State& state) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::filesystem::path folder = base / ("brannoc-slope-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    RenderSettings settings;
    settings.kind = TileKind::slope;
    settings.terrain_a = {TerrainKind::ground, 3};
    settings.terrain_b = {TerrainKind::rock, 2};
    settings.terrain_count = state.range(0) != 0 ? 2 : 1;
    settings.cliff = state.range(0) != 0;
    settings.iso_width = 64;
    settings.count = corner_masks;
    settings.transparent = true;
    settings.quiet = true;
    settings.sheet = (folder / "hill.png").string();
    settings.tmx = (folder / "hill.tmx").string();
    settings.godot = (folder / "hill.tres").string();
    for (auto _ : state)
        if (run_batch(settings, stderr) != 0) state.SkipWithError("the run failed");
    std::filesystem::remove_all(folder);
}
}  // namespace

BENCHMARK(BM_SlopeSheet)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("cliff")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
