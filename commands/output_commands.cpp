#include "commands/output_commands.hpp"

#include "commands/commands.hpp"
#include "state/control_ids.hpp"
#include "state/ui_port.hpp"
#include "canvas/bmp_writer.hpp"
#include "canvas/drawing_context.hpp"
#include "canvas/numbers.hpp"
#include "canvas/png_writer.hpp"
#include "state/tile_setup.hpp"

#include <filesystem>
#include <limits>

namespace {

constexpr Colour frame_colour = rgb(128, 0, 128);

void tell(TileContext& context, const std::string& title, const std::string& text) {
    if (context.ui) context.ui->show_message(title, text);
}

std::string outcome_text(const WriteResult& result, const std::string& name) {
    if (result.ok) return "Saved " + name;
    return "Could not save " + name + (result.error.empty() ? "" : ": " + result.error);
}

bool ends_with_bmp(const std::string& name) {
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".bmp") == 0;
}

void finish_tile_set(TileContext& context) {
    set_controls_disabled(context, false);
    context.controls.write(ctl::progress_bar, 0);
}

}  // namespace

bool name_is_taken(const std::string& name) {
    // A dangling link counts as taken: writing through it would create
    // whatever file it names. A name that cannot be looked at is tried, so
    // the write reports why.
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(name, ignored));
}

NumberedName next_save_name(const AppState& state, const std::string& extension) {
    // After a draw on the About tab the canvas still holds the tile of the
    // last generator that drew, so the name follows that one.
    const TileKindRow* kind = kind_of_tab(state.last_tab);
    if (!kind) kind = kind_of_tab(state.last_drawn_tab);
    NumberedName next{kind ? save_prefix(*kind) : "Tile", state.save_counter, ""};
    // Files of earlier runs keep their names: the counter moves past them.
    do {
        if (next.number == std::numeric_limits<std::int32_t>::max()) break;
        ++next.number;
        next.name = next.prefix + std::to_string(next.number) + extension;
    } while (name_is_taken(next.name));
    return next;
}

void copy_image(TileContext& context) {
    const RasterImage& canvas = context.state.canvas;
    if (context.ui) context.ui->put_image_on_clipboard(canvas, packed_dib_bytes(canvas), bmp_file_bytes(canvas));
}

void save_current_tile(TileContext& context) {
    AppState& state = context.state;
    const NumberedName next = next_save_name(state, ".bmp");
    state.file_name = next.prefix;
    const std::string& name = next.name;
    const WriteResult result = write_bmp(state.canvas, name);
    // A failed save takes no number: the next one tries the same name.
    if (result.ok) state.save_counter = next.number;
    tell(context, "Save current tile", outcome_text(result, name));
}

void save_tile_png(TileContext& context, const TransparentTile& tile) {
    AppState& state = context.state;
    const NumberedName offered = next_save_name(state, ".png");
    std::error_code ignored;
    const std::string folder = std::filesystem::current_path(ignored).string();
    const std::optional<std::string> answer =
        context.ui
            ? context.ui->ask_save_file_name("Save tile as PNG", folder, offered.name, "PNG image (*.png)", "*.png")
            : std::nullopt;
    if (!answer || answer->empty()) return;  // cancelled: nothing is written
    std::string name = *answer;
    if (!name.ends_with(".png")) name += ".png";
    const std::optional<std::vector<std::uint8_t>> bytes = encode_png(tile.image, &tile.alpha, PngDeflater::libdeflate);
    const WriteResult result =
        bytes ? write_file_safely(name, *bytes) : WriteResult{false, "the image could not be encoded"};
    tell(context, "Save tile as PNG", outcome_text(result, name));
    // Saving under the offered name uses up its number, as "Save image" would.
    if (result.ok &&
        std::filesystem::weakly_canonical(name, ignored) == std::filesystem::weakly_canonical(offered.name, ignored))
        state.save_counter = offered.number;
}

void set_controls_disabled(TileContext& context, bool disabled) {
    using namespace ctl;
    for (int number : {exit_button, tiles_creation_button, draw_random_button, roof_texture_button, wall_texture_button,
                       door_texture_button, windows_texture_button, panel, grass_colour_button,
                       terrain_ground_texture_button, save_image_button, copy_image_button,
                       terrain_water_texture_button, mountain_ground_texture_button, mountain_texture_button})
        context.controls.set_enabled(number, !disabled);
}

TileSetLayout tile_set_layout(TileContext& context) {
    TileSetLayout layout{};
    layout.half_width = set_half_width(context);
    layout.above_centre = 10 * context.controls.read(ctl::highest_height) + layout.half_width + 10;
    layout.top = TileGeometry::ground_y - layout.above_centre;
    layout.cell_width = 2 * layout.half_width + 2;
    layout.cell_height = layout.above_centre + layout.half_width / 2 + 4;
    layout.columns = trunc_to_int(1200.0 / layout.cell_width);
    layout.rows = trunc_to_int(1000.0 / layout.cell_height);
    return layout;
}

void create_tile_set(TileContext& context, TileHistory* history) {
    AppState& state = context.state;
    ControlModel& controls = context.controls;
    // A set drawn on the About tab, after a draw there, is offered as "Tree".
    const TileKindRow* kind = kind_of_tab(state.last_tab);
    state.file_name = kind ? tab_title(*kind) : "Tree";
    set_controls_disabled(context, true);
    {
        // Cleared first, so a smaller set never keeps the edges of a bigger one.
        DrawingContext sheet(state.tile_set_image);
        sheet.set_drawing_mode(DrawingMode::Filled);
        sheet.box(0, 0, 1200, 1000, rgb(0, 0, 0));
        sheet.set_drawing_mode(DrawingMode::Outlined);
        sheet.box(0, 0, 1200, 1000, rgb(0, 0, 0));
    }
    controls.write(ctl::lock_size, 1);
    controls.write(ctl::lock_height, 1);

    const TileSetLayout layout = tile_set_layout(context);
    controls.write(ctl::progress_bar, 0);
    const float step = 100.0f / static_cast<float>(layout.rows * layout.columns);
    float progress = 0.0f;
    for (int row = 0; row < layout.rows; ++row) {
        for (int col = 0; col < layout.columns; ++col) {
            const bool last = row == layout.rows - 1 && col == layout.columns - 1;
            if (last && history) history->draw(context);
            else draw_random(context);
            const TileGeometry& g = state.geometry;
            const RasterImage copy =
                grab_image(state.canvas, g.tile_left_x, layout.top, g.iso_width, layout.cell_height);
            DrawingContext sheet(state.tile_set_image);
            const int x = col * (layout.cell_width - 1);
            const int y = row * (layout.cell_height - 1);
            sheet.draw_image(copy, x, y);
            sheet.set_drawing_mode(DrawingMode::Outlined);
            sheet.box(x, y, layout.cell_width, layout.cell_height, frame_colour);
            progress = progress + step;
            controls.write(ctl::progress_bar, nearest_to_int(progress));
            if (context.ui) context.ui->refresh_during_command();
        }
    }

    std::error_code ignored;
    const std::string folder = std::filesystem::current_path(ignored).string();
    const std::optional<std::string> answer =
        context.ui ? context.ui->ask_save_file_name("Save tile set", folder, state.file_name, "Bitmap (*.bmp)", "*.bmp")
                   : std::nullopt;
    if (!answer || answer->empty()) {  // cancelled: nothing is written
        finish_tile_set(context);
        return;
    }
    state.file_name = *answer;
    if (!ends_with_bmp(state.file_name)) state.file_name += ".bmp";
    const WriteResult result = write_bmp(state.tile_set_image, state.file_name);
    tell(context, "Creation tiles", outcome_text(result, state.file_name));
    finish_tile_set(context);
}
