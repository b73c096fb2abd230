#include "choosers/texture_chooser.hpp"

#include "state/control_ids.hpp"
#include "canvas/drawing_context.hpp"

#include <algorithm>

namespace {
constexpr Colour frame_red = rgb(255, 0, 0);
constexpr Colour window_background = rgb(240, 240, 240);
constexpr Colour replacement_grass = rgb(100, 200, 50);
// The sample of a grass colour cell: its pixel (5, 5).
constexpr int grass_sample_offset = 5;

const RasterImage& sheet_of(const AppState& state, ChooserSheet sheet) {
    return sheet == ChooserSheet::ground ? state.ground_sheet.image : state.building_sheet.image;
}

Colour grass_cell_colour(const AppState& state, int cell) {
    const SheetPoint at = chooser_cell_origin(ChooserKind::grass_colour, cell);
    return state.ground_sheet.image.colour_at(at.x + grass_sample_offset, at.y + grass_sample_offset);
}

std::array<std::int8_t, chosen_list_size>& chosen_list(AppState& state, ChooserKind kind) {
    return kind == ChooserKind::wall ? state.chosen_walls : state.chosen_roofs;
}
std::int8_t& chosen_count(AppState& state, ChooserKind kind) {
    return kind == ChooserKind::wall ? state.chosen_wall_count : state.chosen_roof_count;
}
}  // namespace

TextureChooser::TextureChooser(AppState& state, ChooserKind kind, int water_variant)
    : state_(state),
      kind_(kind),
      spec_(chooser_spec(kind)),
      water_variant_(water_variant) {
    if (spec_.multiple) {
        // Open with the current choice marked, so looking and pressing "Ok"
        // keeps it; a user who wants to start afresh clicks the marks away.
        state_.chooser_marks.fill(0);
        const auto& list = chosen_list(state_, kind_);
        for (int k = 0; k < chosen_count(state_, kind_); ++k)
            if (list[k] >= 0 && list[k] < chosen_list_size) state_.chooser_marks[list[k]] = 1;
    }
    if (kind_ == ChooserKind::grass_colour) {
        // Frame the cell of the colour in use, if it is one of the cells, so
        // opening to look does not replace an earlier pick with cell 0.
        for (int cell = 0; cell < spec_.cell_count(); ++cell)
            if (grass_cell_colour(state_, cell) == state_.grass_colour) {
                grass_cell_ = cell;
                break;
            }
    }
}

namespace {
// The state value a single-choice chooser shows and sets.
template <typename State>
auto* choice_field(State& state, ChooserKind kind) {
    switch (kind) {
        case ChooserKind::water: return &state.terrain_water_texture;
        case ChooserKind::windows: return &state.windows_texture;
        case ChooserKind::mountain: return &state.mountain_texture;
        case ChooserKind::door: return &state.door_texture;
        case ChooserKind::ground: return &state.ground_texture;
        default: return static_cast<decltype(&state.ground_texture)>(nullptr);
    }
}
}  // namespace

int TextureChooser::choice() const {
    if (kind_ == ChooserKind::grass_colour) return grass_cell_;
    const auto* field = choice_field(state_, kind_);
    return field ? *field : -1;
}

void TextureChooser::set_choice(int cell) {
    if (kind_ == ChooserKind::grass_colour) grass_cell_ = cell;
    else if (auto* field = choice_field(state_, kind_)) *field = cell;
}

int TextureChooser::cell_at(int x, int y) const {
    // A release outside the window picks nothing (the pointer reads -1 there).
    if (x < 0 || y < 0 || x >= spec_.width || y >= spec_.height) return -1;
    const int column = x / spec_.cell_size;
    const int row = y / spec_.cell_size;
    if (row >= spec_.rows || column >= spec_.columns) return -1;
    return row * spec_.columns + column;
}

void TextureChooser::click(int x, int y) {
    const int cell = cell_at(x, y);
    if (cell < 0) return;
    if (spec_.multiple) state_.chooser_marks[cell] = state_.chooser_marks[cell] ? 0 : 1;
    else set_choice(cell);
}

bool TextureChooser::framed(int cell) const {
    if (cell < 0 || cell >= spec_.cell_count()) return false;
    if (spec_.multiple) return state_.chooser_marks[cell] != 0;
    return choice() == cell;
}

RasterImage TextureChooser::render() {
    RasterImage picture(spec_.width, spec_.height);
    DrawingContext dc(picture);
    dc.box(0, 0, spec_.width, spec_.height, window_background);
    const RasterImage& sheet = sheet_of(state_, spec_.sheet);
    const int size = spec_.cell_size;
    for (int cell = 0; cell < spec_.cell_count(); ++cell) {
        const SheetPoint from = chooser_cell_origin(kind_, cell);
        dc.draw_image(grab_image(sheet, from.x, from.y, size, size), spec_.cell_x(cell), spec_.cell_y(cell));
        if (!framed(cell)) continue;
        dc.set_drawing_mode(DrawingMode::Outlined);
        dc.box(spec_.cell_x(cell), spec_.cell_y(cell), size, size, frame_red);
        dc.box(spec_.cell_x(cell) + 1, spec_.cell_y(cell) + 1, size - 2, size - 2, frame_red);
        dc.set_drawing_mode(DrawingMode::Filled);
    }
    if (kind_ == ChooserKind::grass_colour) state_.grass_colour = grass_cell_colour(state_, grass_cell_);
    return picture;
}

void TextureChooser::close(ControlModel& controls) {
    switch (kind_) {
        case ChooserKind::water:
            if (water_variant_ == 1) {
                state_.water_texture_1 = state_.terrain_water_texture;
                controls.write(ctl::lock_water_texture_1, 1);
            } else if (water_variant_ == 2) {
                state_.water_texture_2 = state_.terrain_water_texture;
                controls.write(ctl::lock_water_texture_2, 1);
            } else {
                // Like every other pick, it holds only with its lock ticked.
                controls.write(ctl::lock_terrain_water_texture, 1);
            }
            break;
        case ChooserKind::grass_colour:
            state_.grass_colour = grass_cell_colour(state_, grass_cell_);
            if (state_.grass_colour == 0) state_.grass_colour = replacement_grass;
            controls.write(ctl::lock_colour_texture, 1);
            break;
        case ChooserKind::windows: controls.write(ctl::lock_windows_texture, 1); break;
        case ChooserKind::mountain: controls.write(ctl::lock_mountain_texture, 1); break;
        case ChooserKind::door: controls.write(ctl::lock_door_texture, 1); break;
        case ChooserKind::ground:
            // One ground texture serves both tabs, so both locks are ticked.
            controls.write(ctl::terrain_lock_ground_texture, 1);
            controls.write(ctl::mountain_lock_ground_texture, 1);
            break;
        case ChooserKind::wall:
        case ChooserKind::roof: {
            auto& list = chosen_list(state_, kind_);
            std::int8_t& count = chosen_count(state_, kind_);
            count = 0;
            for (int k = 0; k < chosen_list_size; ++k)
                if (state_.chooser_marks[k] == 1) list[count++] = static_cast<std::int8_t>(k);
            controls.write(kind_ == ChooserKind::wall ? ctl::lock_wall_texture : ctl::lock_roof_texture, 1);
            break;
        }
    }
}

void texture_chooser(TileContext& context, ChooserPort* port, ChooserKind kind, int water_variant) {
    TextureChooser chooser(context.state, kind, water_variant);
    if (port) port->run_chooser(chooser);
    else chooser.render();  // drawn once at opening, as the window would
    chooser.close(context.controls);
}
