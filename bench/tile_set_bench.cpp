#include "commands/application.hpp"
#include "state/control_ids.hpp"
#include "commands/output_commands.hpp"
#include "state/ui_port.hpp"

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {
// Answers the save dialog with a scratch file and ignores everything else.
class BenchUi : public UiPort {
public:
    explicit BenchUi(std::string path) : path_(std::move(path)) {}
    void show_display_image(const RasterImage&) override {}
    void refresh_during_command() override {}
    void show_message(const std::string&, const std::string&) override {}
    std::optional<std::string> ask_save_file_name(const std::string&, const std::string&, const std::string&,
                                                  const std::string&, const std::string&) override {
        return path_;
    }
    bool put_image_on_clipboard(const RasterImage&, const std::vector<std::uint8_t>&,
                                const std::vector<std::uint8_t>&) override {
        return true;
    }

private:
    std::string path_;
};
}  // namespace

// A whole tile set on the Water tab, end to end with the BMP write: 616
// tiles at width 40 (lowest wall height) and 66 at width 100.
static void BM_WaterTileSet(benchmark::State& state) {
    const std::string path = "/tmp/brannoc-bench-set-" + std::to_string(::getpid()) + ".bmp";
    BenchUi ui(path);
    Application app(create_app_state(), &ui);
    app.random().seed(5);
    app.controls().write(ctl::iso_width, static_cast<int>(state.range(0)));
    app.controls().write(ctl::highest_height, static_cast<int>(state.range(1)));
    app.controls().user_changed(ctl::panel, tab_water);
    app.state().last_tab = tab_water;
    TileContext ctx = app.context();
    for (auto _ : state) create_tile_set(ctx);
    const TileSetLayout layout = tile_set_layout(ctx);
    state.counters["tiles"] = layout.rows * layout.columns;
    ::unlink(path.c_str());
}
BENCHMARK(BM_WaterTileSet)->Args({0, 0})->Args({6, 7})->Unit(benchmark::kMillisecond);
