#pragma once
#include "state/tile_context.hpp"

#include <cstdint>
#include <deque>
#include <vector>

// A tile as drawn, with everything it was drawn from: the state without its
// pictures, the controls and the random source as they stood before the
// draw. Drawing again from these gives the same tile, over any background.
struct DrawnTile {
    RasterImage image;  // the canvas as the draw left it
    int tab = 0;        // the generator that drew it
    AppState inputs;
    ControlModel controls;
    RandomSource random;
    std::vector<std::uint8_t> coverage;  // worked out on first use
};

// A tile with one alpha byte a pixel: 255 where it painted, 0 elsewhere.
struct TransparentTile {
    RasterImage image;
    std::vector<std::uint8_t> alpha;
};

// The last tiles drawn, newest last, and which of them is shown. Stepping
// back and forth only changes what the canvas shows (and the kind its saves
// are named after); the random stream and the generators' working state go
// on from the newest draw, and a new tile always joins at the end.
class TileHistory {
public:
    static constexpr std::size_t capacity = 50;

    // draw_random, keeping the tile if a generator drew one.
    void draw(TileContext& context);
    bool show_earlier(TileContext& context);
    bool show_later(TileContext& context);

    std::size_t size() const { return tiles_.size(); }
    const DrawnTile* shown() const { return tiles_.empty() ? nullptr : &tiles_[shown_]; }

    // The canvas with its alpha. Coverage is decided as the renderer's
    // --transparent decides it: the tile is drawn again over white, and a
    // pixel is painted where both draws agree (the generators never read the
    // canvas). A canvas no kept tile explains (nothing drawn yet) counts as
    // painted wherever it is not black.
    TransparentTile transparent_canvas(const AppState& state);

private:
    void show(TileContext& context);

    std::deque<DrawnTile> tiles_;
    std::size_t shown_ = 0;
};

// A copy of the state without its pictures (canvas, display, sheets, tile
// set, About image): what a draw reads and changes besides the sheets.
AppState state_without_pictures(AppState& state);
