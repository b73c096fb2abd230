#include "app/render/batch_run.hpp"

#include "canvas/open_folder.hpp"

#include "export/output/output_folder.hpp"

#include "app/render/option_rules.hpp"
#include "export/output/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "app/render/started_state.hpp"
#include "app/render/sheet_output.hpp"
#include "export/output/stale_manifests.hpp"
#include "app/render/stop_signals.hpp"
#include "canvas/content_hash.hpp"
#include "canvas/file_output.hpp"
#include "export/formats/manifest.hpp"
#include "export/formats/lighting_map_files.hpp"
#include "export/formats/tile_encoding.hpp"
#include "export/tile/tile_frames.hpp"
#include "export/tile/tile_render.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A file written for a tile, as its manifest records it.
WrittenFile written_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return {fs::path(path).filename().string(), bytes.size(), content_hash_hex(bytes.data(), bytes.size())};
}

// The lighting maps asked for, beside the tile image at `image_path`.
WriteResult write_map_files(const RenderSettings& settings, const RenderedTile& tile, const std::string& image_path,
                            std::vector<WrittenFile>& done) {
    const std::vector<LightingMapFile> files = encode_lighting_map_files(
        settings, tile.image, settings.transparent ? &tile.alpha : nullptr, tile.lighting_maps);
    for (const LightingMapFile& file : files) {
        const std::string path = lighting_map_file_name(image_path, file.suffix);
        if (file.bytes.empty()) return {false, path + " could not be encoded"};
        const WriteResult written = write_file_safely(path, file.bytes, Durability::unsynced);
        if (!written.ok) return {false, path + ": " + written.error};
        done.push_back(written_file(path, file.bytes));
    }
    return {true, ""};
}

// Before anything is drawn: every file the run would replace may be
// replaced (no planted link, no read-only file, no folder in the way).
std::string check_destinations(const RenderSettings& settings, const std::string& manifest_path) {
    std::vector<std::string> paths;
    if (settings.sheet.empty()) {
        paths.push_back(manifest_path);
        // Only the tile files already there can be in the way.
        std::error_code error;
        for (fs::directory_iterator it(opened_path(settings.out), error), end; !error && it != end; it.increment(error))
            if (written_by_run(settings, it->path().filename().string()))
                paths.push_back(settings.out + "/" + it->path().filename().string());
    } else {
        paths = sheet_set_paths(settings);
    }
    for (const std::string& path : paths)
        if (const WriteResult ok = check_destination(path); !ok.ok)
            return "cannot write " + shown_path(path) + ": " + ok.error;
    return {};
}

class Batch {
public:
    Batch(const RenderSettings& settings, const AppState& prototype, int jobs)
        : settings_(settings),
          prototype_(prototype),
          next_(shard_first(settings)),
          end_(shard_end(settings)),
          active_(jobs) {
        if (!settings.sheet.empty()) {
            sheet_tiles_.resize(static_cast<std::size_t>(settings.count));
            sheet_records_.resize(static_cast<std::size_t>(settings.count));
            settings_.trim = true;  // each tile's painted box, placed on the sheet by its anchor
        }
    }

    void worker() {
        draw_tiles();
        const std::lock_guard lock(mutex_);
        --active_;
        news_.notify_one();
    }

    // Waits a little for finished tiles; takes those there are.
    std::vector<TileRecord> take_finished(std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        news_.wait_for(lock, wait, [this] { return !finished_.empty() || active_ == 0; });
        return std::exchange(finished_, {});
    }

    bool running() {
        const std::lock_guard lock(mutex_);
        return active_ > 0;
    }
    int done() const { return done_; }
    bool failed() const { return failed_; }
    std::string failure() {
        const std::lock_guard lock(mutex_);
        return failure_;
    }
    const std::vector<RenderedTile>& sheet_tiles() const { return sheet_tiles_; }
    const std::vector<TileRecord>& sheet_records() const { return sheet_records_; }

private:
    void draw_tiles() {
        auto state = std::make_unique<AppState>(prototype_);
        state->tile_set_image = RasterImage();  // a worker never lays out a window tile set
        Application app(std::move(state));
        for (int index; !failed_ && !StopSignals::received() && (index = next_++) < end_;) {
            RenderedTile tile = render_tile(app, settings_, index);
            if (!sheet_tiles_.empty()) {
                sheet_records_[index] = record_of(tile, index);
                sheet_tiles_[index] = std::move(tile);
                ++done_;
                continue;
            }
            std::vector<WrittenFile> files;
            if (const std::string problem = write_tile_files(tile, index, files); !problem.empty())
                return fail(problem);
            TileRecord record = record_of(tile, index);
            record.files = std::move(files);
            const std::lock_guard lock(mutex_);
            finished_.push_back(std::move(record));
            ++done_;
            news_.notify_one();
        }
    }

    // The tile's image (with moving water a strip of its frames) and, if
    // asked, its GIF, each recorded in `files`; what went wrong, or nothing.
    std::string write_tile_files(const RenderedTile& tile, int index, std::vector<WrittenFile>& files) {
        const bool moving = !tile.later_frames.empty();
        const Sheet strip = moving ? frame_strip(tile) : Sheet{};
        const std::string path = settings_.out + "/" + tile_file_name(settings_, index);
        const std::vector<std::uint8_t> bytes =
            encode_image(moving ? strip.image : tile.image,
                         settings_.transparent ? (moving ? &strip.alpha : &tile.alpha) : nullptr, settings_.png);
        WriteResult written = bytes.empty() ? WriteResult{false, "the image could not be encoded"}
                                            : write_file_safely(path, bytes, Durability::unsynced);
        if (!written.ok) return "cannot write " + shown_path(path) + ": " + written.error;
        files.push_back(written_file(path, bytes));
        if (settings_.wants_surfaces())
            if (const WriteResult maps = write_map_files(settings_, tile, path, files); !maps.ok)
                return "cannot write " + maps.error;
        if (!settings_.gif) return {};
        const std::string gif_path = settings_.out + "/" + tile_gif_name(settings_, index);
        const std::vector<std::uint8_t> gif = tile_gif(tile, settings_.frame_ms, settings_.transparent);
        written = gif.empty() ? WriteResult{false, "the GIF could not be encoded"}
                              : write_file_safely(gif_path, gif, Durability::unsynced);
        if (!written.ok) return "cannot write " + shown_path(gif_path) + ": " + written.error;
        files.push_back(written_file(gif_path, gif));
        return {};
    }

    void fail(const std::string& message) {
        const std::lock_guard lock(mutex_);
        if (failed_.exchange(true)) return;
        failure_ = message;
    }

    RenderSettings settings_;
    const AppState& prototype_;
    std::vector<RenderedTile> sheet_tiles_;
    std::vector<TileRecord> sheet_records_;
    std::atomic<int> next_;
    const int end_;
    std::atomic<int> done_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;  // guards what follows
    std::condition_variable news_;
    std::vector<TileRecord> finished_;
    int active_;
    std::string failure_;
};

// The manifest of a run of one file a tile, written as the tiles finish, in
// the order of their numbers: a tile that finishes early waits for those
// before it (a few, one a worker at most).
class ManifestStream {
public:
    ManifestStream(const RenderSettings& settings, const std::string& path)
        : settings_(settings),
          writer_(path),
          next_(shard_first(settings)) {
        writer_.append(run_manifest_head(settings));
    }
    void add(std::vector<TileRecord> records) {
        for (TileRecord& r : records) waiting_.emplace(r.index, std::move(r));
        while (!waiting_.empty() && waiting_.begin()->first == next_) {
            list(waiting_.begin()->second);
            waiting_.erase(waiting_.begin());
            ++next_;
        }
    }
    // Lists every tile written, those after a gap too, and puts the file in place.
    WriteResult close(bool complete) {
        for (const auto& [index, record] : waiting_) list(record);
        waiting_.clear();
        writer_.append(manifest_tail(complete));
        return writer_.publish();
    }
    int listed() const { return listed_; }

private:
    void list(const TileRecord& r) { writer_.append(run_manifest_entry(settings_, r, listed_++ == 0)); }

    const RenderSettings& settings_;
    FileWriter writer_;
    std::map<int, TileRecord> waiting_;
    int next_, listed_ = 0;
};

void show_progress(std::FILE* report, int done, int count) {
    constexpr int bar = 40;
    // An empty shard has nothing to wait for: its bar is full.
    const int filled = count > 0 ? static_cast<int>(static_cast<long long>(done) * bar / count) : bar;
    std::fprintf(report, "\rbrannoc-render [%.*s%*s] %d/%d", filled,
                 "========================================", bar - filled, "", done, count);
    std::fflush(report);
}

const char* signal_name(int signal) { return signal == SIGINT ? "SIGINT" : "SIGTERM"; }
}  // namespace

int run_batch(const RenderSettings& settings, std::FILE* report) {
    const StopSignals stop_signals;
    // Everything that can be wrong with the input or the outputs is found
    // before any file is written.
    int failed = 0;
    const std::unique_ptr<AppState> prototype = started_state(settings, report, failed);
    if (!prototype) return failed;
    const bool sheet = !settings.sheet.empty();
    std::vector<std::string> folders;
    if (!sheet) folders.push_back(settings.out);
    for (const std::string* file : {&settings.sheet, &settings.tmx, &settings.godot, &settings.godot3})
        if (!file->empty()) folders.push_back(folder_of(*file));
    std::vector<OpenFolder> opened;  // every file of the run goes through these
    for (const std::string& folder : folders) {
        std::string problem;
        std::optional<OpenFolder> open = open_output_folder(folder, problem);
        if (!open) {
            report_line(report, problem);
            return 2;
        }
        opened.push_back(std::move(*open));
    }
    const std::string manifest_path =
        sheet ? fs::path(settings.sheet).replace_extension(".json").string() : run_manifest_path(settings);
    // The run claims its manifest's name and, one file a tile, its tiles; a
    // sheet every file of its set, in the folder of each.
    LockClaim claim{{fs::path(manifest_path).filename().string()}, {}, 0, 0, nullptr};
    std::map<std::string, LockClaim> elsewhere;  // a sheet's files in other folders than its manifest's
    if (sheet)
        for (const std::string& path : sheet_set_paths(settings)) {
            const std::string name = fs::path(path).filename().string(), folder = folder_of(path);
            if (folder == folder_of(manifest_path)) {
                if (name != claim.names.front()) claim.names.push_back(name);
            } else {
                elsewhere[folder].names.push_back(name);
            }
        }
    else
        claim = {claim.names,
                 tile_family(tile_file_name(settings, 0)),
                 shard_first(settings),
                 shard_end(settings),
                 [&settings](long long index) { return tile_file_name(settings, static_cast<int>(index)); },
                 [&settings](long long first, long long end) {
                     return manifest_of_run(settings.out, tile_family(tile_file_name(settings, 0)), first, end);
                 }};
    std::string problem;
    const std::optional<OutputLock> lock = OutputLock::acquire(folder_of(manifest_path), claim, problem);
    std::vector<OutputLock> other_locks;
    for (const auto& [folder, names] : elsewhere) {
        if (!lock) break;
        std::optional<OutputLock> more = OutputLock::acquire(folder, names, problem);
        if (!more) break;
        other_locks.push_back(std::move(*more));
    }
    if (!lock || other_locks.size() != elsewhere.size() ||
        !(problem = check_destinations(settings, manifest_path)).empty()) {
        report_line(report, problem);
        return 2;
    }
    if (const std::string removed = lock->leftovers_line(folder_of(manifest_path)); !removed.empty() && !settings.quiet)
        report_line(report, removed);
    // Older manifests that list the tiles about to be replaced stop saying
    // they are complete.
    if (!sheet) mark_stale_manifests(settings, manifest_path);
    else mark_stale_world_manifests(sheet_set_paths(settings), manifest_path);
    // Tiles about to be replaced: the old manifest goes first, so that no
    // manifest ever describes files it did not write. A run killed outright
    // leaves this one, which says it is not complete.
    std::unique_ptr<ManifestStream> manifest;
    if (!sheet) {
        const std::string marker = run_manifest_head(settings) + manifest_tail(false);
        if (const WriteResult marked = write_file_safely(manifest_path, {marker.begin(), marker.end()}); !marked.ok) {
            report_line(report, "cannot write " + shown_path(manifest_path) + ": " + marked.error);
            return 2;
        }
        manifest = std::make_unique<ManifestStream>(settings, manifest_path);
    }

    const auto start = Clock::now();
    const int count = shard_end(settings) - shard_first(settings);  // this shard's tiles
    const int jobs = std::min(settings.jobs, count);
    Batch batch(settings, *prototype, jobs);
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j) workers.emplace_back([&batch] { batch.worker(); });
    const bool progress = !settings.quiet && ::isatty(::fileno(report));
    auto last_shown = Clock::now();
    while (batch.running()) {
        std::vector<TileRecord> finished = batch.take_finished(std::chrono::milliseconds(100));
        if (manifest) manifest->add(std::move(finished));
        if (progress && Clock::now() - last_shown > std::chrono::milliseconds(100)) {
            show_progress(report, batch.done(), count);
            last_shown = Clock::now();
        }
    }
    for (std::thread& worker : workers) worker.join();
    if (manifest) manifest->add(batch.take_finished(std::chrono::milliseconds(0)));
    if (progress) {
        show_progress(report, batch.done(), count);
        std::fputc('\n', report);
    }

    const int signal = StopSignals::received();
    const bool complete = !batch.failed() && signal == 0 && batch.done() == count;
    std::string listing;
    if (manifest) {
        const WriteResult written = manifest->close(complete);
        if (!written.ok) {
            report_line(report, (batch.failed() ? batch.failure() + "; " : std::string()) + "cannot write " +
                                    manifest_path + ": " + written.error);
            return signal ? exit_code_for_signal(signal) : 1;
        }
        listing = "; " + std::to_string(manifest->listed()) + " of " + std::to_string(count) +
                  " tiles written, listed in " + shown_path(manifest_path) + " as not complete";
    } else if (!complete) {
        listing = "; nothing of the sheet was written";
    }
    if (batch.failed()) {
        report_line(report, batch.failure() + listing);
        return 1;
    }
    if (signal) {
        report_line(report, std::string("stopped by ") + signal_name(signal) + listing);
        return exit_code_for_signal(signal);
    }
    if (sheet)
        if (const int code = write_sheet_set(settings, batch.sheet_tiles(), batch.sheet_records(),
                                             prototype->ground_sheet.image, report);
            code != 0)
            return code;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!settings.quiet)
        std::fprintf(report, "brannoc-render: %d %s in %.2f s, %.0f tiles a second\n", count,
                     count == 1 ? "tile" : "tiles", seconds, count / std::max(seconds, 1e-9));
    return 0;
}
