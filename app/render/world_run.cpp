#include "app/render/world_run.hpp"

#include "app/render/file_set.hpp"
#include "app/render/old_world_files.hpp"
#include "app/render/output_folder.hpp"
#include "app/render/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "app/render/started_state.hpp"
#include "app/render/stop_signals.hpp"
#include "canvas/file_output.hpp"
#include "export/formats/world_file_names.hpp"
#include "export/formats/world_manifest.hpp"
#include "export/shown_text.hpp"
#include "export/world/world_build.hpp"
#include "generators/world/world_chunks.hpp"

#include <chrono>
#include <csignal>
#include <memory>

int run_world(const RenderSettings& settings, std::FILE* report) {
    const StopSignals stop_signals;
    const auto start = std::chrono::steady_clock::now();
    int failed = 0;
    const std::unique_ptr<AppState> prototype = started_state(settings, report, failed);
    if (!prototype) return failed;
    std::string problem;
    const std::optional<OpenFolder> folder = open_output_folder(settings.out, problem);
    if (!folder) {
        report_line(report, problem);
        return 2;
    }
    // Every name the chunk may write, whatever it finds to draw: no other
    // run writes any of them meanwhile, and each can be replaced.
    const WorldChunk chunk =
        world_chunk(settings.world_shape.width, settings.world_shape.height, settings.shard, settings.shards);
    const std::vector<std::string> names = world_file_names(chunk.stem);
    const std::optional<OutputLock> lock =
        OutputLock::acquire(settings.out, LockClaim{names, {}, 0, 0, nullptr, nullptr}, problem);
    if (!lock) {
        report_line(report, problem);
        return 2;
    }
    if (const std::string removed = lock->leftovers_line(settings.out); !removed.empty() && !settings.quiet)
        report_line(report, removed);
    // Godot 3's folder inside it, its files reached through its own descriptor.
    const std::optional<OpenFolder> godot3 = open_output_folder(settings.out + "/" + world_godot3_folder, problem);
    if (!godot3) {
        report_line(report, problem);
        return 2;
    }
    for (const std::string& name : names)
        if (const WriteResult ok = check_destination(settings.out + "/" + name); !ok.ok) {
            report_line(report, "cannot write " + shown_path(settings.out + "/" + name) + ": " + ok.error);
            return 2;
        }

    // The map's render goes to its file as it is encoded: a world's
    // largest file is never held whole.
    std::vector<StreamedWrite> streamed;
    PngRowWriter::Sink picture;
    if (!settings.world_shape.no_picture) {
        const std::string path = settings.out + "/" + chunk.stem + ".png";
        streamed.push_back({path, std::make_unique<FileWriter>(path)});
        picture = [writer = streamed.back().writer.get()](std::span<const std::uint8_t> piece) {
            writer->append({reinterpret_cast<const char*>(piece.data()), piece.size()});
            return !writer->failed() && !StopSignals::received();
        };
    }
    WorldFiles world = build_world(settings, *prototype, picture ? &picture : nullptr);
    if (world.problem) {
        if (!streamed.empty() && streamed.front().writer->failed()) {
            report_line(report, "cannot write " + shown_path(streamed.front().path) + ": " +
                                    streamed.front().writer->finish().error + "; nothing of the world was written");
            return 1;
        }
        if (const int signal = StopSignals::received()) {
            report_line(report, std::string("stopped by ") + (signal == SIGINT ? "SIGINT" : "SIGTERM") +
                                    ": nothing of the world was written");
            return exit_code_for_signal(signal);
        }
        report_line(report, *world.problem);
        return 2;
    }
    std::vector<std::string> written;
    for (auto& [name, bytes] : world.files) written.push_back(name), name = settings.out + "/" + name;
    const std::string marker = world_manifest_not_complete(world.files.back().second);
    if (!streamed.empty()) written.push_back(chunk.stem + ".png");
    if (const int code = publish_file_set(world.files, "the world", report, &marker, std::move(streamed)); code != 0)
        return code;
    // What an older world of this name left that this one does not write.
    const std::string old = remove_old_world_files(settings.out, names, written);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!settings.quiet) {
        if (!old.empty()) report_line(report, old);
        std::fprintf(report, "brannoc-render: %s, %d x %d cells, %d %s and %d %s in %.2f s\n",
                     shown_path(settings.out + "/" + chunk.stem + ".tmx").c_str(), chunk.width, chunk.height,
                     world.tiles, world.tiles == 1 ? "tile" : "tiles", world.objects,
                     world.objects == 1 ? "object" : "objects", seconds);
    }
    return 0;
}
