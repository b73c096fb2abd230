#include "app/window/world_job.hpp"

#include "generators/world/world_chunks.hpp"

#include <QMetaObject>

namespace {
std::shared_ptr<DrawnWorld> draw_world(const RenderSettings& settings, const WorldWatch& watch) {
    auto world = std::make_shared<DrawnWorld>();
    world->settings = settings;
    // The renderer's started state: the built-in textures, fresh, whatever
    // the main window has picked since.
    const std::unique_ptr<AppState> prototype = create_app_state();
    if (!prototype) {
        world->files.problem = "the built-in textures could not be decoded";
        return world;
    }
    world->files = build_world(settings, *prototype, watch);
    if (world->files.problem) return world;
    const WorldChunk chunk =
        world_chunk(settings.world_shape.width, settings.world_shape.height, settings.shard, settings.shards);
    for (const auto& [name, bytes] : world->files.files)
        if (name == chunk.stem + ".png")
            world->image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                                      "PNG");
    const WorldRequest request{settings.world_shape, settings.variants, settings.seed};
    world->map = build_world_map(request, chunk.x0, chunk.y0, chunk.width, chunk.height);
    return world;
}
}  // namespace

WorldJob::WorldJob(std::function<void(std::shared_ptr<const DrawnWorld>)> done, QObject* parent)
    : QObject(parent),
      done_(std::move(done)) {}

WorldJob::~WorldJob() {
    for (Worker& worker : workers_) {
        worker.run->stop = true;
        worker.thread.join();
    }
}

void WorldJob::start(const RenderSettings& settings) {
    stop();
    join_ended();
    auto run = std::make_shared<Run>();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    current_ = run;
    // The thread holds the run, never the job: a stopped run ends on its
    // own, and the job waits for it only when it is itself destroyed.
    std::thread thread([this, run, ended, settings] {
        WorldWatch watch;
        watch.progress = [run](double p) {
            double seen = run->progress.load();
            while (p > seen && !run->progress.compare_exchange_weak(seen, p)) {
            }
        };
        watch.stop = [run] { return run->stop.load(); };
        std::shared_ptr<const DrawnWorld> world = draw_world(settings, watch);
        QMetaObject::invokeMethod(
            this, [this, run, world] { finish(run, world); }, Qt::QueuedConnection);
        *ended = true;
    });
    workers_.push_back({run, std::move(thread), ended});
}

void WorldJob::stop() {
    if (current_) current_->stop = true;
    current_.reset();
}

void WorldJob::finish(const std::shared_ptr<Run>& run, std::shared_ptr<const DrawnWorld> world) {
    join_ended();
    if (run != current_) return;  // stopped, or another started since
    current_.reset();
    done_(std::move(world));
}

void WorldJob::join_ended() {
    for (auto it = workers_.begin(); it != workers_.end();)
        if (*it->ended) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
}
