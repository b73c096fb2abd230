// Bytes a tile and tiles a second of the PNG encoding alone, on the same
// tiles (40 seeded tiles of each kind at the window's defaults): the first
// writer (libpng over zlib, writer:0), libdeflate at level 2 (writer:1, what
// the window's tiles keep) and the scanline deflater (writer:2, the rest).
#include "canvas/png_writer.hpp"
#include "export/control_options.hpp"
#include "export/tile/tile_render.hpp"
#include "reference_png_encoder.hpp"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <tuple>

namespace {
constexpr int tiles = 40;

const std::vector<RenderedTile>& tiles_of(int tab, int width, bool transparent) {
    static std::map<std::tuple<int, int, bool>, std::vector<RenderedTile>> drawn;
    std::vector<RenderedTile>& set = drawn[{tab, width, transparent}];
    if (set.empty()) {
        Application app(create_app_state());
        TileRequest settings;
        settings.kind = kind_of_tab(tab)->kind;
        settings.iso_width = width;
        settings.transparent = transparent;
        for (int i = 0; i < tiles; ++i) set.push_back(render_tile(app, settings, i));
    }
    return set;
}

void BM_EncodePng(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    const bool transparent = state.range(2) != 0;
    const int writer = static_cast<int>(state.range(3));
    const std::vector<RenderedTile>& set = tiles_of(tab, static_cast<int>(state.range(1)), transparent);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const RenderedTile& tile : set) {
            const std::vector<std::uint8_t>* alpha = transparent ? &tile.alpha : nullptr;
            const auto png = writer == 0   ? encode_png_with_zlib(tile.image, alpha)
                             : writer == 1 ? encode_png(tile.image, alpha, PngDeflater::libdeflate)
                                           : encode_png(tile.image, alpha);
            if (!png) state.SkipWithError("encoding failed");
            bytes += png ? png->size() : 0;
        }
    }
    state.counters["bytes_per_tile"] = static_cast<double>(bytes) / tiles;
    state.counters["tiles_per_second"] =
        benchmark::Counter(static_cast<double>(tiles) * state.iterations(), benchmark::Counter::kIsRate);
    state.SetLabel(std::string(kind_of_tab(tab)->name) + (writer == 0 ? " zlib" : writer == 1 ? " libdeflate" : " scanlines"));
}
}  // namespace

BENCHMARK(BM_EncodePng)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {64, 100, 200}, {0, 1}, {0, 1, 2}})
    ->ArgNames({"kind", "width", "transparent", "writer"})
    ->Unit(benchmark::kMicrosecond);
