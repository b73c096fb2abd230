#pragma once
#include "state/control_model.hpp"
#include "state/tile_context.hpp"
#include "generators/slope/slope_set.hpp"
#include "generators/transition/transition_set.hpp"

#include <span>
#include <string>

// Every kind of tile Brannoc draws, one row each. A new kind is a generator
// folder and a row here; the window, the renderer, sheets and manifests
// learn of it from the row.
enum class TileKind { house, tree, terrain, mountain, water, transition, slope };

// Which tile of its kind a draw makes beyond what the controls say: a
// transition or slope tile's terrains, corners and variant. The kinds a tab draws
// take everything from the controls and leave it unread.
struct KindTile {
    TransitionTileSpec transition;
    SlopeTileSpec slope;
};

// The most a tile can paint around its anchor (the diamond's centre) at a
// width, with room to spare: what a sheet cell must hold.
struct CellBound {
    int left = 0, right = 0, up = 0, down = 0;
    int width() const { return left + right + ((left + right) & 1); }
    int height() const { return up + down + ((up + down) & 1); }
};

// The farthest any kind paints around the diamond's centre at a drawn
// width, from the generators' geometry: tree crowns reach up about 1.46
// widths and sideways 0.83, ruins' rubble right 0.7, fences down 0.3. One
// canvas a width holds every kind.
struct PaintReach {
    int up = 0, down = 0, side = 0;
};
PaintReach paint_reach(int drawn_width);

// How a kind's tiles take the run's width: some are drawn wider than asked
// (at least `widest_at_least`), and some hold only the window's steps of
// ten, `why` saying which control lets them take any even width.
struct WidthRule {
    int widest_at_least = 0;
    bool steps_of_ten = false;
    const char* why = "";
};

// Where the light a kind's colours were painted with comes from, as a
// light's azimuth (degrees counter-clockwise from the screen's right) and
// elevation: the direction whose Lambert term best explains the generators'
// own shading over their surfaces' normals, measured from seeded tiles.
// Kinds painted without light have none.
struct PaintedLight {
    bool painted = false;
    double azimuth = 0.0, elevation = 90.0;
};

struct TileKindRow {
    TileKind kind;
    const char* name;  // as --kind, manifests and file names say it
    int tab;           // the window's tab that draws it; -1: drawn only as sets
    // The tabs whose controls steer it, a bit a tab: its own, the terrain
    // under a house, the trees on terrain. The main area steers every kind.
    unsigned steering_tabs;
    // Its tiles are one set's, numbered by their corners: the set's seed and
    // the tile's index draw it, and engine files get terrain sets.
    bool corner_set;
    // Paints a whole random tile of the kind and shows it.
    void (*draw)(TileContext& context, const KindTile& tile);
    CellBound (*reach)(int width);
    WidthRule (*width_rule)(const ControlModel& controls);
    PaintedLight painted_light;
    // Whether its tiles have water that can move, under these controls.
    bool (*moves)(const ControlModel& controls, const KindTile& tile);
    // What moving needs, when it does not move ("" for the usual advice).
    const char* still_why = "";
};

std::span<const TileKindRow> kind_rows();
const TileKindRow& kind_row(TileKind kind);
// The kind a tab draws; nullptr for a tab that draws none (About).
const TileKindRow* kind_of_tab(int tab);
// The title of the kind's tab ("House"): what its tile sets are offered as
// and its options' group in --help. "" for kinds drawn only as sets.
std::string tab_title(const TileKindRow& row);
// "Save image" names the kind's tiles "Tile" and its tab's title, then a number.
std::string save_prefix(const TileKindRow& row);
// nullptr when no kind has that name.
const TileKindRow* kind_named(const std::string& name);
// "house, tree, ..., transition", for messages.
std::string kind_names();
// Whether a control of `option_tab` (-1: the main area) steers the kind.
bool steered_by(const TileKindRow& row, int option_tab);
// The widest a kind is drawn at a run's width under these controls.
int widest_drawn_width(const TileKindRow& row, int iso_width, const ControlModel& controls);
