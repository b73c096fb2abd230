#include "generators/transition/bridge_tile.hpp"

#include "canvas/drawing_context.hpp"
#include "canvas/mix_hash.hpp"
#include "generators/common/diamond_mapping.hpp"
#include "generators/common/periodic_noise.hpp"
#include "generators/common/shading.hpp"
#include "generators/transition/road_paint.hpp"
#include "generators/transition/transition_bands.hpp"
#include "state/tile_setup.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace {
constexpr Colour plank_colour = rgb(150, 106, 64);
constexpr Colour gap_colour = rgb(46, 32, 20);
constexpr Colour beam_colour = rgb(96, 64, 38);
constexpr Colour rail_colour = rgb(112, 76, 44);
constexpr Colour rail_top_colour = rgb(164, 122, 80);
constexpr Colour post_colour = rgb(78, 52, 30);
constexpr double beam = 0.035;           // each side beam's width, tile units
constexpr double rail_from = 0.14, rail_to = 0.86;  // the rails' span along the bridge
constexpr double posts[] = {0.14, 0.38, 0.62, 0.86};

double unit(std::uint64_t h) { return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 53); }

// Where grid point (u, v) lies on the bridge: along it from one end (0..1)
// and across it from its middle line.
struct Deck {
    bool along_v;  // ne to sw: the bridge runs along v
    void at(double u, double v, double& along, double& across) const {
        along = along_v ? v : u;
        across = along_v ? u - 0.5 : v - 0.5;
    }
};

class BridgePainter {
public:
    BridgePainter(const TransitionTileSpec& spec, int half_width)
        : deck_{(spec.road.edges & edge_ne) != 0},
          h_(half_width),
          half_(RoadPaint::half_width()),
          boards_(std::max(8, half_width / 3)),
          seed_(mix_hash(spec.set_seed ^ 0x627269646765ULL ^ static_cast<std::uint64_t>(spec.variant) << 40)),
          grain_(mix_hash(spec.set_seed ^ 0x6772616eULL), 29) {}

    // The deck's colour at grid point (i, j), if the deck lies there.
    std::optional<Colour> deck(int i, int j) const {
        double along, across;
        place(i, j, along, across);
        const double side = std::abs(across);
        if (side > half_ || along < 0 || along > 1) return std::nullopt;
        if (side > half_ - beam) return scale_colour(beam_colour, 0.9 + 0.1 * grain(along * 3, across));
        const double f = along * boards_;
        const int board = std::min(boards_ - 1, static_cast<int>(f));
        // A dark gap a grid step wide between boards, and each board's own tone.
        if (f - board < 1.0 / std::max(1.0, static_cast<double>(h_) / boards_) * 0.9 && board > 0)
            return gap_colour;
        const double tone = 0.82 + 0.3 * unit(mix_hash(seed_ + static_cast<std::uint64_t>(board)));
        const double streak = 0.08 * grain(along * 0.3 + board * 0.37, across * 4);
        // A little wear down the middle, where the carts run.
        const double worn = 0.06 * std::exp(-std::pow(side / (0.5 * half_), 2));
        return scale_colour(plank_colour, std::clamp(tone + streak + worn, 0.6, 1.25));
    }

    bool on_rail(int i, int j) const {
        double along, across;
        place(i, j, along, across);
        return along >= rail_from && along <= rail_to && std::abs(std::abs(across) - (half_ - beam / 2)) < 0.5 / h_;
    }
    bool on_post(int i, int j) const {
        if (!on_rail(i, j)) return false;
        double along, across;
        place(i, j, along, across);
        for (const double p : posts)
            if (std::abs(along - p) < 0.6 / h_) return true;
        return false;
    }
    // The shadow the deck casts on the water: its middle span, the ends
    // resting on the banks.
    bool shadows(int i, int j) const {
        double along, across;
        place(i, j, along, across);
        return std::abs(across) <= half_ && along > 0.16 && along < 0.84;
    }

private:
    void place(int i, int j, double& along, double& across) const {
        deck_.at(static_cast<double>(i) / h_, static_cast<double>(j) / h_, along, across);
    }
    double grain(double a, double b) const { return grain_.at(a, b).value; }

    Deck deck_;
    int h_;
    double half_;
    int boards_;
    std::uint64_t seed_;
    PeriodicNoise grain_;
};
}  // namespace

void draw_bridge_tile(TileContext& context, const TransitionTileSpec& spec) {
    TransitionTileSpec plain = spec;
    plain.road = {};
    if (spec.over) {
        set_tile_geometry(context);
        begin_tile(context, tile_area_colour);
    } else {
        draw_transition_tile(context, plain);
    }
    const int h = context.state.geometry.half_width;
    const BridgePainter bridge(spec, h);
    DrawingContext dc(context.state.canvas, context.request.surfaces);
    const Colour background = context.request.background;
    const auto put = [&](int x, int y, Colour c) {
        if (dc.mapping_surfaces()) dc.reuse_surface(0);
        dc.plot(x, y, c);
    };
    // The shadow first, a few pixels below the deck on screen, each pixel
    // darkened once however many points cast it.
    const int drop = std::max(2, h / 6), rise = std::max(3, h / 6);
    std::set<std::pair<int, int>> shade;
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < h; ++j)
            if (bridge.shadows(i, j)) {
                const CanvasPoint at = diamond_pixel(h, i, j);
                shade.insert({at.x, at.y + drop}), shade.insert({at.x + 1, at.y + drop});
            }
    const OverPixel shadow{rgb(8, 14, 20), 120};
    for (const auto& [x, y] : shade) put(x, y, lay_over(spec.over ? background : dc.point(x, y), shadow));
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < h; ++j)
            if (const std::optional<Colour> c = bridge.deck(i, j)) {
                const CanvasPoint at = diamond_pixel(h, i, j);
                put(at.x, at.y, *c), put(at.x + 1, at.y, *c);
            }
    // Posts and rails stand over the side beams, from the back forwards.
    for (int row = 0; row < 2 * h; ++row)
        for (int i = std::max(0, row - h + 1); i <= std::min(h - 1, row); ++i) {
            const int j = row - i;
            if (!bridge.on_rail(i, j)) continue;
            const CanvasPoint at = diamond_pixel(h, i, j);
            if (bridge.on_post(i, j))
                for (int k = 1; k <= rise; ++k) put(at.x, at.y - k, post_colour), put(at.x + 1, at.y - k, post_colour);
            put(at.x, at.y - rise, rail_top_colour), put(at.x + 1, at.y - rise, rail_top_colour);
            put(at.x, at.y - rise + 1, rail_colour), put(at.x + 1, at.y - rise + 1, rail_colour);
        }
    show_tile(context);
}
