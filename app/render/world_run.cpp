#include "app/render/world_run.hpp"

#include "app/render/report_line.hpp"
#include "app/render/started_state.hpp"
#include "app/render/stop_signals.hpp"
#include "export/shown_text.hpp"
#include "export/world/world_build.hpp"
#include "export/world/world_output.hpp"
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
    const WorldChunk chunk =
        world_chunk(settings.world_shape.width, settings.world_shape.height, settings.shard, settings.shards);
    std::string problem;
    const std::optional<WorldFolder> folder = WorldFolder::prepare(settings.out, chunk.stem, problem);
    if (!folder) {
        report_line(report, problem);
        return 2;
    }
    if (const std::string removed = folder->leftovers_line(); !removed.empty() && !settings.quiet)
        report_line(report, removed);

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
    WorldFiles world = build_world(settings, *prototype, {}, picture ? &picture : nullptr);
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
    const WorldFolder::Written written = folder->write(world, StopSignals::received, std::move(streamed));
    if (const Problem& failure = written.outcome.problem) {
        report_line(report, *failure);
        return written.outcome.stop_signal ? exit_code_for_signal(written.outcome.stop_signal) : 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!settings.quiet) {
        if (!written.removed_old.empty()) report_line(report, written.removed_old);
        std::fprintf(report, "brannoc-render: %s, %d x %d cells, %d %s and %d %s in %.2f s\n",
                     shown_path(settings.out + "/" + chunk.stem + ".tmx").c_str(), chunk.width, chunk.height,
                     world.tiles, world.tiles == 1 ? "tile" : "tiles", world.objects,
                     world.objects == 1 ? "object" : "objects", seconds);
    }
    return 0;
}
