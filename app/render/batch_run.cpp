#include "app/render/batch_run.hpp"

#include "canvas/file_output.hpp"
#include "export/manifest.hpp"
#include "export/sheet_engine_files.hpp"
#include "export/sheet_layout.hpp"
#include "export/tile_encoding.hpp"
#include "export/tile_render.hpp"
#include "export/user_textures.hpp"

#include <algorithm>
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

class Batch {
public:
    Batch(const RenderSettings& settings, const AppState& prototype)
        : settings_(settings), prototype_(prototype), records_(static_cast<std::size_t>(settings.count)) {
        if (!settings.sheet.empty()) {
            sheet_tiles_.resize(static_cast<std::size_t>(settings.count));
            settings_.trim = true;  // each tile's painted box, placed on the sheet by its anchor
        }
    }

    void worker() {
        auto state = std::make_unique<AppState>(prototype_);
        state->tile_set_image = RasterImage();  // a worker never lays out a window tile set
        Application app(std::move(state));
        for (int index; !failed_ && (index = next_++) < settings_.count;) {
            RenderedTile tile = render_tile(app, settings_, index);
            if (!sheet_tiles_.empty()) {
                records_[index] = record_of(tile);
                sheet_tiles_[index] = std::move(tile);
                ++done_;
                continue;
            }
            const std::string path = settings_.out + "/" + tile_file_name(settings_, index);
            const std::vector<std::uint8_t> bytes =
                encode_image(tile.image, settings_.transparent ? &tile.alpha : nullptr, settings_.png);
            const WriteResult written = bytes.empty() ? WriteResult{false, "the image could not be encoded"}
                                                      : write_file_safely(path, bytes, Durability::unsynced);
            if (!written.ok) {
                fail("cannot write " + path + ": " + written.error);
                return;
            }
            records_[index] = record_of(tile);
            ++done_;
        }
    }

    void fail(const std::string& message) {
        const std::lock_guard lock(failure_mutex_);
        if (failed_.exchange(true)) return;
        failure_ = message;
    }

    std::string manifest() const { return run_manifest(settings_, records_); }
    std::string sheet_manifest(const SheetLayout& layout, const std::string& image) const {
        return ::sheet_manifest(settings_, records_, layout, image);
    }

    const std::vector<RenderedTile>& sheet_tiles() const { return sheet_tiles_; }
    int done() const { return done_; }
    bool failed() const { return failed_; }
    const std::string& failure() const { return failure_; }

private:
    RenderSettings settings_;
    const AppState& prototype_;
    std::vector<TileRecord> records_;
    std::vector<RenderedTile> sheet_tiles_;
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

namespace {
std::string with_extension(const std::string& path, const char* extension) {
    return fs::path(path).replace_extension(extension).string();
}

std::string folder_of(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

// Every file of a sheet run, written only once all are made.
int write_sheet(const Batch& batch, const RenderSettings& settings, std::FILE* report) {
    const SheetLayout layout =
        lay_out_sheet(batch.sheet_tiles(), settings.iso_width, settings.columns, settings.spacing, settings.margin);
    if (layout.width > largest_sheet_side || layout.height > largest_sheet_side ||
        static_cast<long long>(layout.width) * layout.height > largest_sheet_pixels) {
        std::fprintf(report, "brannoc-render: a sheet of %d x %d pixels is too large (at most %d a side, %lld in all): "
                     "draw fewer tiles or set --columns\n", layout.width, layout.height, largest_sheet_side, largest_sheet_pixels);
        return 2;
    }
    const Sheet sheet = compose_sheet(batch.sheet_tiles(), layout, settings.frames);
    const std::vector<std::uint8_t> image_bytes =
        encode_image(sheet.image, settings.png ? &sheet.alpha : nullptr, settings.png);  // engines have no colour key
    if (image_bytes.empty()) {
        std::fprintf(report, "brannoc-render: the sheet could not be encoded\n");
        return 1;
    }
    const std::string image_name = fs::path(settings.sheet).filename().string();
    std::vector<std::pair<std::string, std::string>> texts = sheet_engine_files(settings, layout, batch.sheet_tiles());
    texts.emplace_back(with_extension(settings.sheet, ".json"), batch.sheet_manifest(layout, image_name));

    const WriteResult written = write_file_safely(settings.sheet, image_bytes);
    if (!written.ok) {
        std::fprintf(report, "brannoc-render: cannot write %s: %s\n", settings.sheet.c_str(), written.error.c_str());
        return 1;
    }
    for (const auto& [path, text] : texts) {
        const WriteResult done = write_file_safely(path, {text.begin(), text.end()});
        if (!done.ok) {
            std::fprintf(report, "brannoc-render: cannot write %s: %s\n", path.c_str(), done.error.c_str());
            return 1;
        }
    }
    return 0;
}
}  // namespace

int run_batch(const RenderSettings& settings, std::FILE* report) {
    // Everything that can be wrong with the input is found before any folder
    // is made or file written.
    const std::unique_ptr<AppState> prototype = create_app_state();
    if (!prototype) {
        std::fprintf(report, "brannoc-render: the built-in textures could not be decoded\n");
        return 1;
    }
    if (!settings.texture_folder.empty())
        if (const std::string problem = load_user_textures(*prototype, settings.texture_folder); !problem.empty()) {
            std::fprintf(report, "brannoc-render: %s\n", problem.c_str());
            return 2;
        }
    std::vector<std::string> folders;
    if (settings.sheet.empty()) folders.push_back(settings.out);
    for (const std::string* file : {&settings.sheet, &settings.tmx, &settings.godot})
        if (!file->empty()) folders.push_back(folder_of(*file));
    for (const std::string& folder : folders)
        if (const std::string problem = check_output_folder(folder); !problem.empty()) {
            std::fprintf(report, "brannoc-render: %s\n", problem.c_str());
            return 2;
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
    if (!settings.sheet.empty()) {
        if (const int code = write_sheet(batch, settings, report); code != 0) return code;
    } else {
        const std::string manifest = batch.manifest();
        const std::string manifest_path = settings.out + "/manifest.json";
        const WriteResult written = write_file_safely(manifest_path, {manifest.begin(), manifest.end()});
        if (!written.ok) {
            std::fprintf(report, "brannoc-render: cannot write %s: %s\n", manifest_path.c_str(), written.error.c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!settings.quiet)
        std::fprintf(report, "brannoc-render: %d %s in %.2f s, %.0f tiles a second\n", settings.count,
                     settings.count == 1 ? "tile" : "tiles", seconds, settings.count / std::max(seconds, 1e-9));
    return 0;
}
