// Moving water as a build script makes it: 64 water tiles of 16 frames at
// width 64 on one transparent sheet with its Tiled and Godot files, with one
// and two jobs, and with the sample map's GIF as well. Target: under 1 s.
#include "app/render/batch_run.hpp"
#include "export/control_options.hpp"
#include "state/control_ids.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {
void BM_MovingWaterSheet(benchmark::State& state) {
    RenderSettings settings;
    settings.kind = TileKind::water;
    settings.iso_width = 64;
    settings.count = 64;
    settings.loop_frames = 16;
    settings.transparent = true;
    settings.jobs = static_cast<int>(state.range(0));
    settings.gif = state.range(1) != 0;
    settings.quiet = true;
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::filesystem::path folder = base / ("brannoc-animation-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    settings.sheet = (folder / "lake.png").string();
    settings.tmx = (folder / "lake.tmx").string();
    settings.godot = (folder / "lake.tres").string();
    for (auto _ : state)
        if (run_batch(settings, stderr) != 0) state.SkipWithError("the run failed");
    std::filesystem::remove_all(folder);
    state.counters["frames_per_second"] =
        benchmark::Counter(64.0 * 16 * state.iterations(), benchmark::Counter::kIsRate);
}
}  // namespace

BENCHMARK(BM_MovingWaterSheet)
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->ArgNames({"jobs", "gif"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
