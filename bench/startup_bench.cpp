#include "state/app_state.hpp"
#include "assets/builtin_assets.hpp"
#include "canvas/png_image.hpp"

#include <benchmark/benchmark.h>

// Decoding the four built-in images, as start-up does.
static void BM_DecodeBuiltinSheets(benchmark::State& state) {
    for (auto _ : state) {
        for (BuiltinAsset asset : {BuiltinAsset::AboutImage, BuiltinAsset::BoulderSheet, BuiltinAsset::GroundSheet,
                                   BuiltinAsset::BuildingSheet})
            benchmark::DoNotOptimize(image_from_png(builtin_asset(asset)));
    }
}
BENCHMARK(BM_DecodeBuiltinSheets)->Unit(benchmark::kMillisecond);

// The whole core start-up: tables, images and sheets.
static void BM_CreateAppState(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(create_app_state());
}
BENCHMARK(BM_CreateAppState)->Unit(benchmark::kMillisecond);
