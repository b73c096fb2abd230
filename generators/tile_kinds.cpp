#include "generators/tile_kinds.hpp"

#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "generators/house/house_tile.hpp"
#include "generators/mountain/mountain_tile.hpp"
#include "generators/terrain/terrain.hpp"
#include "generators/tree/tree_tile.hpp"
#include "generators/water/water_tile.hpp"

#include <algorithm>
#include <iterator>

namespace {
constexpr unsigned tab_bit(int tab) { return 1u << tab; }
template <typename... Tab>
constexpr unsigned tabs(Tab... tab) {
    return (tab_bit(tab) | ...);
}

template <void (*entry)(TileContext&)>
void tab_draw(TileContext& context, const KindTile&) {
    entry(context);
}
void set_draw(TileContext& context, const KindTile& tile) { draw_transition_tile(context, tile.transition); }
void slope_draw(TileContext& context, const KindTile& tile) { draw_slope_tile(context, tile.slope); }

// The diamond and the ground under it reach half the width across and a
// quarter of it down; what stands on it (walls and roofs, trees, peaks)
// reaches up, and fences, trees and bushes past the edges.
CellBound flat_reach(int w) { return {w / 2, w / 2 + 1, w / 4 + 2, w / 4 + 2}; }
CellBound standing_reach(int w) {
    CellBound cell = flat_reach(w);
    const int beyond = w / 5 + 4;
    cell.left += beyond, cell.right += beyond, cell.down += beyond;
    cell.up = paint_reach(w).up;
    return cell;
}
// A slope or cliff tile raises its high corners by up to the largest step.
CellBound raised_reach(int w) {
    CellBound cell = flat_reach(w);
    cell.up += largest_slope_step(w);
    return cell;
}
CellBound peak_reach(int w) {
    CellBound cell = flat_reach(w);
    cell.up = w * 2 / 3 + 4;
    return cell;
}

bool never(const ControlModel&, const KindTile&) { return false; }
bool always(const ControlModel&, const KindTile&) { return true; }
bool with_pool_or_swamp(const ControlModel& controls, const KindTile&) {
    return controls.checked(ctl::pool) || controls.checked(ctl::swamp);
}
bool with_a_channel(const ControlModel&, const KindTile& tile) { return tile.slope.channel.any(); }
bool with_a_water_terrain(const ControlModel&, const KindTile& tile) {
    return tile.transition.a.kind == TerrainKind::water || tile.transition.b.kind == TerrainKind::water;
}

WidthRule as_asked(const ControlModel&) { return {}; }
// Unlocked, a house takes a random width of the window's, up to 160.
WidthRule house_widths(const ControlModel& controls) {
    if (controls.checked(ctl::lock_size)) return {};
    return {160, true, "--lock-size: unlocked, a house takes a random width of 90 to 160 in steps of ten"};
}

// clang-format off
// A row's first line is what the kind is, the second how it draws, a third
// what moving needs where it never moves.
const TileKindRow rows[] = {
  // kind                  name          tab           steering tabs                           corner set
  // draw                          reach           width rule    painted light        moves
    {TileKind::house,      "house",      tab_house,    tabs(tab_house, tab_terrain, tab_tree), false,
     tab_draw<draw_house_tile>,    standing_reach, house_widths, {true,   0.0, 18.0}, never},
    {TileKind::tree,       "tree",       tab_tree,     tabs(tab_tree),                         false,
     tab_draw<draw_tree_tile>,     standing_reach, as_asked,     {true, 325.0,  0.0}, never},
    {TileKind::terrain,    "terrain",    tab_terrain,  tabs(tab_terrain, tab_tree),            false,
     tab_draw<draw_terrain_tile>,  standing_reach, as_asked,     {true,  66.0, 16.0}, with_pool_or_swamp},
    {TileKind::mountain,   "mountain",   tab_mountain, tabs(tab_mountain),                     false,
     tab_draw<draw_mountain_tile>, peak_reach,     as_asked,     {true, 315.0, 20.0}, never},
    {TileKind::water,      "water",      tab_water,    tabs(tab_water),                        false,
     tab_draw<draw_water_tile>,    flat_reach,     as_asked,     {},                  always},
    {TileKind::transition, "transition", -1,           0,                                      true,
     set_draw,                     flat_reach,     as_asked,     {},                  with_a_water_terrain,
     "a transition set moves when one of its --terrains is water"},
    {TileKind::slope,      "slope",      -1,           0,                                      true,
     slope_draw,                   raised_reach,   as_asked,     {true, 284.0, 11.0}, with_a_channel,
     "a slope or cliff set holds water only with a --channel"},
};
// clang-format on
}  // namespace

PaintReach paint_reach(int w) {
    // Bounds with a few pixels to spare over the generators' worst cases:
    // a broadleaf of height H (at most w / 2) whose foot stands w / 8 behind
    // the centre has leaves up to 2H + 2H / 3 above its foot; clusters spread
    // H / 2 + 2H / 3 beside a foot up to w / 4 off the centre.
    return {3 * w / 2 + 8, 3 * w / 8 + 10, (17 * w + 19) / 20 + 8};
}

std::span<const TileKindRow> kind_rows() { return rows; }

const TileKindRow& kind_row(TileKind kind) {
    for (const TileKindRow& row : rows)
        if (row.kind == kind) return row;
    return rows[0];
}

const TileKindRow* kind_of_tab(int tab) {
    for (const TileKindRow& row : rows)
        if (row.tab >= 0 && row.tab == tab) return &row;
    return nullptr;
}

std::string tab_title(const TileKindRow& row) {
    const std::vector<std::string>& titles = find_control(ctl::panel)->items;
    return row.tab >= 0 && row.tab < static_cast<int>(titles.size()) ? titles[row.tab] : "";
}

std::string save_prefix(const TileKindRow& row) { return row.tab >= 0 ? "Tile" + tab_title(row) : ""; }

const TileKindRow* kind_named(const std::string& name) {
    for (const TileKindRow& row : rows)
        if (name == row.name) return &row;
    return nullptr;
}

std::string kind_names() {
    std::string names;
    for (const TileKindRow& row : rows) names += (names.empty() ? "" : ", ") + std::string(row.name);
    return names;
}

bool steered_by(const TileKindRow& row, int option_tab) {
    return option_tab < 0 || (option_tab < 32 && (row.steering_tabs & tab_bit(option_tab)) != 0);
}

int widest_drawn_width(const TileKindRow& row, int iso_width, const ControlModel& controls) {
    return std::max(iso_width, row.width_rule(controls).widest_at_least);
}
