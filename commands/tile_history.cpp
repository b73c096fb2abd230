#include "commands/tile_history.hpp"

#include "commands/commands.hpp"
#include "state/control_ids.hpp"
#include "state/tile_setup.hpp"

#include <array>
#include <utility>

namespace {
constexpr Colour probe_background = rgb(255, 255, 255);

// Draws the tile again from what it was drawn from, on a scratch state that
// borrows copies of the sheets, over another background.
RasterImage redraw_over(const DrawnTile& tile, const AppState& state, Colour background) {
    AppState scratch = tile.inputs;
    scratch.boulder_sheet = state.boulder_sheet;
    scratch.ground_sheet = state.ground_sheet;
    scratch.building_sheet = state.building_sheet;
    scratch.canvas = RasterImage(TileGeometry::canvas_width, TileGeometry::canvas_height);
    ControlModel controls = tile.controls;
    RandomSource random = tile.random;
    TileContext probe{scratch, controls, random, nullptr, {.background = background}};
    draw_random(probe);
    return std::move(scratch.canvas);
}

std::vector<std::uint8_t> coverage_between(const RasterImage& a, const RasterImage& b) {
    std::vector<std::uint8_t> painted(static_cast<std::size_t>(a.width()) * a.height(), 0);
    for (int y = 0; y < a.height(); ++y) {
        const std::uint8_t* p = a.row(y);
        const std::uint8_t* q = b.row(y);
        for (int x = 0; x < a.width(); ++x)
            if (p[3 * x] == q[3 * x] && p[3 * x + 1] == q[3 * x + 1] && p[3 * x + 2] == q[3 * x + 2])
                painted[static_cast<std::size_t>(y) * a.width() + x] = 255;
    }
    return painted;
}
}  // namespace

AppState state_without_pictures(AppState& state) {
    // Set the pictures aside for the copy, then put them back.
    const std::array<RasterImage*, 7> pictures{&state.display_image,       &state.canvas,
                                               &state.tile_set_image,      &state.about_image,
                                               &state.boulder_sheet.image, &state.ground_sheet.image,
                                               &state.building_sheet.image};
    std::array<RasterImage, 7> aside;
    for (std::size_t i = 0; i < pictures.size(); ++i) std::swap(aside[i], *pictures[i]);
    AppState copy = state;
    for (std::size_t i = 0; i < pictures.size(); ++i) std::swap(aside[i], *pictures[i]);
    return copy;
}

void TileHistory::draw(TileContext& context) {
    DrawnTile tile{{}, 0, state_without_pictures(context.state), context.controls, context.random, {}};
    tile.controls.set_listener(nullptr);  // the copy is never shown
    const int tab = context.controls.read(ctl::panel);
    draw_random(context);
    if (!kind_of_tab(tab)) return;  // a tab without a kind (About) draws nothing
    tile.image = context.state.canvas;
    tile.tab = tab;
    tiles_.push_back(std::move(tile));
    if (tiles_.size() > capacity) tiles_.pop_front();
    shown_ = tiles_.size() - 1;
}

bool TileHistory::show_earlier(TileContext& context) {
    if (tiles_.empty() || shown_ == 0) return false;
    --shown_;
    show(context);
    return true;
}

bool TileHistory::show_later(TileContext& context) {
    if (shown_ + 1 >= tiles_.size()) return false;
    ++shown_;
    show(context);
    return true;
}

void TileHistory::show(TileContext& context) {
    const DrawnTile& tile = tiles_[shown_];
    context.state.canvas = tile.image;
    context.state.last_tab = static_cast<std::int8_t>(tile.tab);
    context.state.last_drawn_tab = tile.tab;
    show_tile(context);
}

TransparentTile TileHistory::transparent_canvas(const AppState& state) {
    TransparentTile out{state.canvas, {}};
    if (!tiles_.empty() && tiles_[shown_].image == state.canvas) {
        DrawnTile& tile = tiles_[shown_];
        if (tile.coverage.empty())
            tile.coverage = coverage_between(tile.image, redraw_over(tile, state, probe_background));
        out.alpha = tile.coverage;
        return out;
    }
    out.alpha.assign(static_cast<std::size_t>(state.canvas.width()) * state.canvas.height(), 0);
    for (int y = 0; y < state.canvas.height(); ++y)
        for (int x = 0; x < state.canvas.width(); ++x)
            if (state.canvas.pixel(x, y) != rgb(0, 0, 0))
                out.alpha[static_cast<std::size_t>(y) * state.canvas.width() + x] = 255;
    return out;
}
