// Tiles a second and bytes a tile of brannoc-render for each kind at widths
// 64, 100 and 200, written as PNG files, opaque and transparent, with one and
// two jobs: the whole run as a build script sees it (start-up, drawing,
// encoding, writing, the manifest). Beside it, the drawing of one tile alone,
// colour only and with its normal and height maps: the maps' target is at
// most 1.5x the colour's time. And the PNG run against the BMP run of the
// same 2,000 houses, as the command lines give them.
#include "app/render/batch_run.hpp"
#include "app/render/command_line.hpp"
#include "export/control_options.hpp"
#include "export/tile/tile_render.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace {
constexpr int tiles_per_run = 300;

// The bytes of the run's tile images (the manifest left out).
std::uintmax_t image_bytes(const std::filesystem::path& folder) {
    std::uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".png") total += entry.file_size();
    return total;
}

void BM_RenderPng(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    RenderSettings settings;
    settings.kind = kind_of_tab(tab)->kind;
    settings.iso_width = static_cast<int>(state.range(1));
    settings.transparent = state.range(2) != 0;
    settings.jobs = static_cast<int>(state.range(3));
    settings.count = tiles_per_run;
    settings.quiet = true;
    // Memory-backed when there is one, so the disk's speed is not measured.
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    settings.out = (base / ("brannoc-render-bench-" + std::to_string(::getpid()))).string();
    for (auto _ : state) {
        if (run_batch(settings, stderr) != 0) state.SkipWithError("the run failed");
    }
    state.counters["bytes_per_tile"] = static_cast<double>(image_bytes(settings.out)) / tiles_per_run;
    std::filesystem::remove_all(settings.out);
    state.counters["tiles_per_second"] =
        benchmark::Counter(static_cast<double>(tiles_per_run) * state.iterations(), benchmark::Counter::kIsRate);
    state.SetLabel(std::string(kind_of_tab(tab)->name));
}

// `brannoc-render --kind house --count 2000 --seed 7` written as transparent
// PNGs (format:1) or as the window's opaque BMPs (format:0), with the
// machine's jobs. Interleaved, the two see the same machine; the target is
// PNG at most 1.3 times BMP.
void BM_HousePngAgainstBmp(benchmark::State& state) {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    const std::string out = (base / ("brannoc-format-bench-" + std::to_string(::getpid()))).string();
    std::vector<std::string> args = {"brannoc-render", "--kind", "house", "--count", "2000", "--seed", "7",
                                     "--quiet",        "--out",  out};
    if (state.range(0) == 1) args.push_back("--transparent");
    else args.insert(args.end(), {"--format", "bmp"});
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data());
    if (!parsed.settings) return state.SkipWithError("the command line was refused");
    for (auto _ : state) {
        if (run_batch(*parsed.settings, stderr) != 0) state.SkipWithError("the run failed");
    }
    std::filesystem::remove_all(out);
    state.SetLabel(state.range(0) == 1 ? "transparent PNG" : "BMP");
}

// The same tiles in turn with and without maps, so the two differ only in the maps.
void BM_DrawTileMaps(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    RenderSettings settings;
    settings.kind = kind_of_tab(tab)->kind;
    settings.iso_width = static_cast<int>(state.range(1));
    settings.transparent = true;
    // maps 0: colour alone; 1: normals and heights; 2: those and the albedo.
    settings.normals = settings.heights = state.range(2) != 0;
    settings.albedo = state.range(2) == 2;
    Application app(create_app_state());
    int index = 0;
    for (auto _ : state) benchmark::DoNotOptimize(render_tile(app, settings, index++ % 16));
    state.SetLabel(std::string(kind_of_tab(tab)->name) +
                   (settings.albedo ? " +normals+heights+albedo" : settings.normals ? " +normals+heights" : " colour"));
}
}  // namespace

BENCHMARK(BM_RenderPng)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {64, 100, 200}, {0, 1}, {1, 2}})
    ->ArgNames({"kind", "width", "transparent", "jobs"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK(BM_HousePngAgainstBmp)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("format")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

BENCHMARK(BM_DrawTileMaps)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {64, 200}, {0, 1, 2}})
    ->ArgNames({"kind", "width", "maps"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
