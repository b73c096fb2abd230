#pragma once
#include "commands/application.hpp"
#include "state/control_ids.hpp"
#include "canvas/raster_image.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <set>
#include <utility>

// A started application without a window and with a fixed seed; draws go
// through draw_random exactly as the "Draw Random" button's do.
struct TileRig {
    explicit TileRig(std::uint64_t seed = 1) {
        auto state = create_app_state();
        if (!state) {
            ADD_FAILURE() << "built-in images failed to decode";
            state = std::make_unique<AppState>();
            fill_fixed_tables(*state);
        }
        app = std::make_unique<Application>(std::move(state));
        app->random().seed(seed);
    }
    AppState& state() { return app->state(); }
    ControlModel& controls() { return app->controls(); }
    const RasterImage& canvas() { return app->state().canvas; }
    int half_width() { return app->state().geometry.half_width; }

    void draw(int tab, int width_item) {
        controls().write(ctl::panel, tab);
        controls().write(ctl::iso_width, width_item);
        app->draw_tile(request);
    }

    DrawRequest request;  // what every draw of the rig asks for

    std::unique_ptr<Application> app;
};

using PixelSet = std::set<std::pair<int, int>>;

inline PixelSet painted_pixels(const RasterImage& image) {
    PixelSet points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0) points.insert({x, y});
    return points;
}

// A short description of a tile for golden comparisons: when one differs the
// fields say whether the extent, the amount or only the colours changed.
struct TileSummary {
    std::uint64_t hash = 0;
    int painted = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const TileSummary&) const = default;
};

inline TileSummary summarise(const RasterImage& image) {
    TileSummary s{14695981039346656037ULL, 0, image.width(), image.height(), -1, -1};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Colour c = image.pixel(x, y);
            s.hash = (s.hash ^ static_cast<std::uint32_t>(c)) * 1099511628211ULL;
            if (c == 0) continue;
            ++s.painted;
            s.left = std::min(s.left, x);
            s.top = std::min(s.top, y);
            s.right = std::max(s.right, x);
            s.bottom = std::max(s.bottom, y);
        }
    }
    return s;
}

inline std::ostream& operator<<(std::ostream& out, const TileSummary& s) {
    return out << "{hash 0x" << std::hex << s.hash << std::dec << ", painted " << s.painted << ", box x " << s.left
               << ".." << s.right << " y " << s.top << ".." << s.bottom << "}";
}
