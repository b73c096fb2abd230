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

    WorldFiles world = build_world(settings, *prototype);
    if (world.problem) {
        report_line(report, *world.problem);
        return 2;
    }
    std::vector<std::string> written;
    for (auto& [name, bytes] : world.files) written.push_back(name), name = settings.out + "/" + name;
    const std::string marker = world_manifest_not_complete(world.files.back().second);
    if (const int code = publish_file_set(world.files, "the world", report, &marker); code != 0) return code;
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
