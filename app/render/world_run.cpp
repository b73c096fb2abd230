#include "app/render/world_run.hpp"

#include "app/render/file_set.hpp"
#include "app/render/output_folder.hpp"
#include "app/render/output_lock.hpp"
#include "app/render/report_line.hpp"
#include "app/render/started_state.hpp"
#include "app/render/stop_signals.hpp"
#include "export/shown_text.hpp"
#include "export/world/world_build.hpp"
#include "export/world/world_folders.hpp"
#include "generators/world/world_chunks.hpp"

#include <chrono>
#include <memory>

int run_world(const RenderSettings& settings, std::FILE* report) {
    const StopSignals stop_signals;
    const auto start = std::chrono::steady_clock::now();
    int failed = 0;
    const std::unique_ptr<AppState> prototype = started_state(settings, report, failed);
    if (!prototype) return failed;
    // Godot 3's files go in a folder of their own inside it.
    for (const std::string& folder : {settings.out, settings.out + "/" + world_godot3_folder})
        if (const std::string problem = check_output_folder(folder); !problem.empty()) {
            report_line(report, problem);
            return 2;
        }
    // The chunk's files are named after it: its manifest's name claims them all.
    const WorldChunk chunk =
        world_chunk(settings.world_shape.width, settings.world_shape.height, settings.shard, settings.shards);
    std::string problem;
    const std::optional<OutputLock> lock =
        OutputLock::acquire(settings.out, LockClaim{{chunk.stem + ".json"}, {}, 0, 0, nullptr, nullptr}, problem);
    if (!lock) {
        report_line(report, problem);
        return 2;
    }

    WorldFiles world = build_world(settings, *prototype);
    if (world.problem) {
        report_line(report, *world.problem);
        return 2;
    }
    for (auto& [name, bytes] : world.files) name = settings.out + "/" + name;
    if (const int code = publish_file_set(world.files, "the world", report); code != 0) return code;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!settings.quiet)
        std::fprintf(report, "brannoc-render: %s, %d x %d cells, %d %s and %d %s in %.2f s\n",
                     shown_path(settings.out + "/" + chunk.stem + ".tmx").c_str(), chunk.width, chunk.height,
                     world.tiles, world.tiles == 1 ? "tile" : "tiles", world.objects,
                     world.objects == 1 ? "object" : "objects", seconds);
    return 0;
}
