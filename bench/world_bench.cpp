// A world's data before any tile is drawn: the map grown from a seed (fields,
// levels, rises, terrains, objects) and its layout into tile layers, for a
// whole world and for one chunk of a big world, which costs its own cells
// and a margin around them.
#include "generators/world/world_layout.hpp"
#include "generators/world/world_map.hpp"

#include <benchmark/benchmark.h>

namespace {
WorldRequest bench_world(int size) {
    WorldRequest request;
    request.width = request.height = size;
    request.seed = 7;
    return request;
}

void BM_WorldMap(benchmark::State& state) {
    const WorldRequest request = bench_world(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(build_world_map(request, 0, 0, request.width, request.height));
}

void BM_WorldLayout(benchmark::State& state) {
    const WorldRequest request = bench_world(static_cast<int>(state.range(0)));
    const WorldMap map = build_world_map(request, 0, 0, request.width, request.height);
    for (auto _ : state) benchmark::DoNotOptimize(lay_out_world(map));
}

// Chunk (8, 8) of 256 x 256 cells of a 4096 x 4096 world.
void BM_WorldMapChunk(benchmark::State& state) {
    const WorldRequest request = bench_world(4096);
    for (auto _ : state) benchmark::DoNotOptimize(build_world_map(request, 2048, 2048, 256, 256));
}
}  // namespace

BENCHMARK(BM_WorldMap)->Arg(64)->Arg(256)->Arg(1024)->ArgName("size")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorldLayout)->Arg(256)->ArgName("size")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorldMapChunk)->Unit(benchmark::kMillisecond);
