#include "app/render/batch_run.hpp"

#include "app/render/control_options.hpp"
#include "app/render/tile_render.hpp"
#include "canvas/bmp_writer.hpp"
#include "canvas/file_output.hpp"
#include "canvas/png_writer.hpp"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int manifest_version = 1;

// Whether the folder exists (or can be made) and takes new files.
std::string check_output_folder(const std::string& out) {
    std::error_code error;
    fs::create_directories(out, error);
    if (error) return "cannot create " + out + ": " + error.message();
    std::string probe = out + "/.brannoc-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return "cannot write to " + out + ": " + std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

std::vector<std::uint8_t> encode(const RenderedTile& tile, const RenderSettings& settings) {
    if (!settings.png) return bmp_file_bytes(tile.image);
    auto bytes = encode_png(tile.image, settings.transparent ? &tile.alpha : nullptr);
    return bytes ? std::move(*bytes) : std::vector<std::uint8_t>{};
}

struct TileRecord {
    int width = 0, height = 0, left = 0, top = 0, anchor_x = 0, anchor_y = 0;
    std::uint64_t seed = 0;
    nlohmann::json drawn;
};

class Batch {
public:
    Batch(const RenderSettings& settings, const AppState& prototype)
        : settings_(settings), prototype_(prototype), records_(static_cast<std::size_t>(settings.count)) {}

    void worker() {
        Application app(std::make_unique<AppState>(prototype_));
        for (int index; !failed_ && (index = next_++) < settings_.count;) {
            RenderedTile tile = render_tile(app, settings_, index);
            const std::string path = settings_.out + "/" + tile_file_name(settings_, index);
            const std::vector<std::uint8_t> bytes = encode(tile, settings_);
            const WriteResult written = bytes.empty() ? WriteResult{false, "the image could not be encoded"}
                                                      : write_file_safely(path, bytes, Durability::unsynced);
            if (!written.ok) {
                fail("cannot write " + path + ": " + written.error);
                return;
            }
            records_[index] = {tile.image.width(), tile.image.height(), tile.left,     tile.top,
                               tile.anchor_x,       tile.anchor_y,        tile.seed, std::move(tile.drawn)};
            ++done_;
        }
    }

    void fail(const std::string& message) {
        const std::lock_guard lock(failure_mutex_);
        if (failed_.exchange(true)) return;
        failure_ = message;
    }

    std::string manifest() const {
        nlohmann::json tiles = nlohmann::json::array();
        for (int i = 0; i < settings_.count; ++i) {
            const TileRecord& r = records_[i];
            tiles.push_back({{"index", i},
                             {"file", tile_file_name(settings_, i)},
                             {"seed", r.seed},
                             {"width", r.width},
                             {"height", r.height},
                             {"canvas_offset", {r.left, r.top}},
                             {"anchor", {r.anchor_x, r.anchor_y}},
                             {"drawn", r.drawn}});
        }
        return nlohmann::json{{"version", manifest_version},
                              {"generator", "brannoc-render"},
                              {"kind", tab_name(settings_.tab)},
                              {"settings", nlohmann::json::parse(settings_as_json(settings_))},
                              {"tiles", tiles}}
            .dump(1);
    }

    int done() const { return done_; }
    bool failed() const { return failed_; }
    const std::string& failure() const { return failure_; }

private:
    const RenderSettings& settings_;
    const AppState& prototype_;
    std::vector<TileRecord> records_;
    std::atomic<int> next_{0};
    std::atomic<int> done_{0};
    std::atomic<bool> failed_{false};
    std::mutex failure_mutex_;
    std::string failure_;
};

void show_progress(std::FILE* report, int done, int count) {
    constexpr int bar = 40;
    const int filled = static_cast<int>(static_cast<long long>(done) * bar / count);
    std::fprintf(report, "\rbrannoc-render [%.*s%*s] %d/%d", filled, "========================================",
                 bar - filled, "", done, count);
    std::fflush(report);
}
}  // namespace

std::string tile_file_name(const RenderSettings& settings, int index) {
    int digits = 4;
    for (int n = settings.count - 1; n >= 10000; n /= 10) ++digits;
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, index);
    return tab_name(settings.tab) + "-" + number + (settings.png ? ".png" : ".bmp");
}

int run_batch(const RenderSettings& settings, std::FILE* report) {
    if (const std::string problem = check_output_folder(settings.out); !problem.empty()) {
        std::fprintf(report, "brannoc-render: %s\n", problem.c_str());
        return 2;
    }
    const std::unique_ptr<AppState> prototype = create_app_state();
    if (!prototype) {
        std::fprintf(report, "brannoc-render: the built-in textures could not be decoded\n");
        return 1;
    }
    const auto start = Clock::now();
    Batch batch(settings, *prototype);
    const int jobs = std::min(settings.jobs, settings.count);
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j) workers.emplace_back([&batch] { batch.worker(); });
    const bool progress = !settings.quiet && ::isatty(::fileno(report));
    while (progress && batch.done() < settings.count && !batch.failed()) {
        show_progress(report, batch.done(), settings.count);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (std::thread& worker : workers) worker.join();
    if (progress) {
        show_progress(report, batch.done(), settings.count);
        std::fputc('\n', report);
    }
    if (batch.failed()) {
        std::fprintf(report, "brannoc-render: %s\n", batch.failure().c_str());
        return 1;
    }
    const std::string manifest = batch.manifest();
    const std::string manifest_path = settings.out + "/manifest.json";
    const WriteResult written = write_file_safely(manifest_path, {manifest.begin(), manifest.end()});
    if (!written.ok) {
        std::fprintf(report, "brannoc-render: cannot write %s: %s\n", manifest_path.c_str(), written.error.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!settings.quiet)
        std::fprintf(report, "brannoc-render: %d %s in %.2f s, %.0f tiles a second\n", settings.count,
                     settings.count == 1 ? "tile" : "tiles", seconds, settings.count / std::max(seconds, 1e-9));
    return 0;
}
