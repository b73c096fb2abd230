#pragma once
#include "state/tile_context.hpp"
#include "choosers/chooser_kind.hpp"

// One open texture chooser: which cells are framed, what a click picks, the
// picture of the grid, and what closing stores and ticks. A click stores at
// once; there is no cancel, and closing by the close box is the same as "Ok".
class TextureChooser {
public:
    // water_variant: 0 from the Terrain tab, 1 and 2 for the Water tab's
    // two textures; other kinds ignore it.
    TextureChooser(AppState& state, ChooserKind kind, int water_variant = 0);

    ChooserKind kind() const { return kind_; }
    const ChooserSpec& spec() const { return spec_; }

    // The cell under a point of the client area, or -1: a point outside the
    // window, in the strip below the cells, or past the last column.
    int cell_at(int x, int y) const;
    // A left-button release at (x, y) in the client area (-1, -1 outside):
    // picks or toggles the cell there, if any. The window repaints after it.
    void click(int x, int y);

    bool framed(int cell) const;

    // The client area as it looks now: the cells, the red frames and a plain
    // strip below. The grass colour chooser also takes the framed cell's
    // colour as the grass colour, as every redraw of it does.
    RasterImage render();

    // Stores the choice and ticks the lock box (or boxes) of the kind.
    void close(ControlModel& controls);

private:
    // The one cell a single-choice chooser holds (walls and roofs have none).
    int choice() const;
    void set_choice(int cell);

    AppState& state_;
    ChooserKind kind_;
    const ChooserSpec& spec_;
    int water_variant_;
    int grass_cell_ = 0;
};

// The window side of a chooser: shows it modally, forwards clicks and
// repaints, and returns when "Ok" or the close box is pressed.
class ChooserPort {
public:
    virtual ~ChooserPort() = default;
    virtual void run_chooser(TextureChooser& chooser) = 0;
};

// Runs a whole chooser: opens it, lets the port show it (with no port it is
// closed at once, as by an immediate "Ok") and stores the choice.
void texture_chooser(TileContext& context, ChooserPort* port, ChooserKind kind, int water_variant = 0);
