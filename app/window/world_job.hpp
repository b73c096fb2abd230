#pragma once
#include "export/render_settings.hpp"
#include "export/world/world_build.hpp"
#include "generators/world/world_map.hpp"

#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// A world the window drew: the files brannoc-render world writes for its
// settings, world.png among them as an image, and its cells for the
// read-out under the pointer.
struct DrawnWorld {
    RenderSettings settings;
    WorldFiles files;  // its problem says why there are none (stopped, or cannot be drawn)
    QImage image;      // world.png
    WorldMap map;
};

// Draws worlds off the window's thread, one at a time: starting another
// stops the one drawing, whose result is then dropped. `done` is called on
// the window's thread with each world that ran to its end (or failed).
class WorldJob final : public QObject {
public:
    explicit WorldJob(std::function<void(std::shared_ptr<const DrawnWorld>)> done, QObject* parent = nullptr);
    ~WorldJob() override;  // stops the drawing and waits for its thread

    void start(const RenderSettings& settings);
    void stop();
    bool running() const { return current_ != nullptr; }
    // How far the world drawing has come, 0 to 1.
    double progress() const { return current_ ? current_->progress.load() : 0.0; }

private:
    struct Run {
        std::atomic<bool> stop{false};
        std::atomic<double> progress{0.0};
    };
    void finish(const std::shared_ptr<Run>& run, std::shared_ptr<const DrawnWorld> world);
    void join_ended();

    std::function<void(std::shared_ptr<const DrawnWorld>)> done_;
    std::shared_ptr<Run> current_;
    struct Worker {
        std::shared_ptr<Run> run;
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> ended;
    };
    std::vector<Worker> workers_;
};
