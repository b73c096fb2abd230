#include "commands/output_commands.hpp"

#include "commands/commands.hpp"
#include "state/control_ids.hpp"
#include "canvas/bmp_writer.hpp"
#include "canvas/drawing_context.hpp"
#include "../support/test_app.hpp"
#include "../support/as_user.hpp"
#include "../support/test_files.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh current directory, since "Save image" writes there.
class InTempDir : public ::testing::Test {
protected:
    void draw_on(int tab) {
        t.controls().user_changed(ctl::panel, tab);
        t.app->control_event(ctl::draw_random_button);
    }
    void save() { t.app->control_event(ctl::save_image_button); }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempCurrentDir temp_{"brannoc-out-"};
    const fs::path& dir_ = temp_.path();
    TestApp t;
};

}  // namespace

TEST_F(InTempDir, SaveNumbersFilesAcrossKindsAfterTheLastDraw) {
    save();  // right after start: the black canvas as a house tile
    EXPECT_EQ(read_file("TileHouse1.bmp"), bmp_file_bytes(RasterImage(260, 260)));
    draw_on(tab_house);
    save();
    EXPECT_EQ(read_file("TileHouse2.bmp"), bmp_file_bytes(t.state().canvas));
    draw_on(tab_tree);
    t.controls().user_changed(ctl::panel, tab_house);  // switching tabs without drawing
    save();
    EXPECT_EQ(read_file("TileTree3.bmp"), bmp_file_bytes(t.state().canvas));
    EXPECT_EQ(files(), (std::vector<std::string>{"TileHouse1.bmp", "TileHouse2.bmp", "TileTree3.bmp"}));
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[2].title, "Save current tile");
    EXPECT_EQ(t.ui.messages[2].text, "Saved TileTree3.bmp");
    EXPECT_EQ(t.state().save_counter, 3);
}

TEST_F(InTempDir, SaveAfterDrawingOnAboutNamesTheTileOnTheCanvas) {
    draw_on(tab_about);  // nothing drawn yet
    save();
    EXPECT_EQ(t.ui.messages.back().text, "Saved Tile1.bmp");
    draw_on(tab_water);
    draw_on(tab_about);
    t.state().file_name = "/somewhere/set.bmp";  // left by a tile set
    save();
    EXPECT_EQ(t.ui.messages.back().text, "Saved TileWater2.bmp");
    EXPECT_EQ(read_file("TileWater2.bmp"), bmp_file_bytes(t.state().canvas));
}

TEST_F(InTempDir, SaveSkipsEveryNameThatExists) {
    // Yesterday's tiles, a folder and a dangling link hold the first names.
    for (const char* name : {"TileHouse1.bmp", "TileHouse3.bmp"}) std::ofstream(name) << "yesterday";
    fs::create_directory("TileHouse2.bmp");
    fs::create_symlink("nowhere/tile.bmp", "TileHouse4.bmp");
    save();
    save();
    EXPECT_EQ(t.ui.messages[0].text, "Saved TileHouse5.bmp");
    EXPECT_EQ(t.ui.messages[1].text, "Saved TileHouse6.bmp");
    EXPECT_EQ(t.state().save_counter, 6);
    EXPECT_EQ(read_file("TileHouse6.bmp"), bmp_file_bytes(t.state().canvas));
    for (const char* name : {"TileHouse1.bmp", "TileHouse3.bmp"}) {
        const std::vector<std::uint8_t> kept = read_file(name);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "yesterday") << name;
    }
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(InTempDir, FailedSaveSaysSoAndTakesNoNumber) {
    // The current folder is removed while the program runs.
    fs::create_directory("gone");
    fs::current_path("gone");
    fs::remove(dir_ / "gone");
    save();
    fs::current_path(dir_);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "Save current tile");
    EXPECT_EQ(t.ui.messages[0].text.rfind("Could not save TileHouse1.bmp: ", 0), 0u) << t.ui.messages[0].text;
    save();
    save();
    EXPECT_EQ(t.ui.messages[1].text, "Saved TileHouse1.bmp");
    EXPECT_EQ(t.ui.messages[2].text, "Saved TileHouse2.bmp");
}

TEST_F(InTempDir, CopyPutsThePackedDibOfTheCanvasOnTheClipboard) {
    draw_on(tab_water);
    t.app->control_event(ctl::copy_image_button);
    EXPECT_EQ(t.ui.clipboard_puts, 1);
    EXPECT_EQ(t.ui.clipboard_image, t.state().canvas);
    EXPECT_EQ(t.ui.clipboard_dib, packed_dib_bytes(t.state().canvas));
    EXPECT_EQ(t.ui.clipboard_bmp, bmp_file_bytes(t.state().canvas));
    EXPECT_EQ(t.ui.clipboard_dib.size(), 40u + 202800u);
    EXPECT_TRUE(t.ui.messages.empty());
}

TEST_F(InTempDir, TileSetLayouts) {
    struct Case {
        int width_item, height_item, H, top, cell_w, cell_h, columns, rows;
    };
    for (const Case c : {Case{6, 7, 130, 50, 102, 159, 11, 6}, Case{16, 8, 190, -10, 202, 244, 5, 4},
                         Case{0, 0, 30, 150, 42, 44, 28, 22}}) {
        t.controls().write(ctl::iso_width, c.width_item);
        t.controls().write(ctl::highest_height, c.height_item);
        TileContext ctx = t.context();
        const TileSetLayout layout = tile_set_layout(ctx);
        SCOPED_TRACE(c.width_item);
        EXPECT_EQ(layout.above_centre, c.H);
        EXPECT_EQ(layout.top, c.top);
        EXPECT_EQ(layout.cell_width, c.cell_w);
        EXPECT_EQ(layout.cell_height, c.cell_h);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.rows, c.rows);
    }
}

TEST_F(InTempDir, TileSetSheetFramesAndClearsWhatWasThere) {
    // Mark the sheet, as an earlier, bigger set would have left it.
    {
        DrawingContext dc(t.state().tile_set_image);
        dc.box(0, 0, 1200, 1000, rgb(9, 9, 9));
    }
    t.controls().write(ctl::iso_width, 16);      // width 200
    t.controls().write(ctl::highest_height, 8);  // 90: H = 190, rows above the canvas
    t.controls().write(ctl::lock_size, 0);
    t.controls().write(ctl::lock_height, 0);
    t.controls().user_changed(ctl::panel, tab_water);
    t.state().last_tab = tab_water;
    t.ui.save_answer = (dir_ / "set").string();
    t.app->control_event(ctl::tiles_creation_button);

    const RasterImage& sheet = t.state().tile_set_image;
    const int cw = 202, ch = 244;
    const Colour purple = rgb(128, 0, 128);
    EXPECT_EQ(sheet.pixel(0, 500), purple);  // the first frame is drawn over the black outline
    EXPECT_EQ(sheet.pixel(1199, 500), 0);    // the black outline around the sheet
    EXPECT_EQ(sheet.pixel(600, 999), 0);
    for (int col = 0; col <= 5; ++col) EXPECT_EQ(sheet.pixel(col * (cw - 1), 100), purple) << col;
    for (int row = 0; row <= 4; ++row) EXPECT_EQ(sheet.pixel(100, row * (ch - 1)), purple) << row;
    // Right of and below the grid: cleared, nothing left of what was there.
    EXPECT_EQ(sheet.pixel(5 * (cw - 1) + 1, 100), 0);
    EXPECT_EQ(sheet.pixel(100, 4 * (ch - 1) + 1), 0);
    EXPECT_EQ(sheet.pixel(1198, 998), 0);
    // The rows of each copy above the canvas are black; the last cell holds the last tile.
    EXPECT_EQ(sheet.pixel(4 * (cw - 1) + 50, 3 * (ch - 1) + 5), 0);
    const RasterImage last = grab_image(t.state().canvas, 30, -10, 200, ch);
    for (int y = 1; y < ch - 1; ++y)
        for (int x = 1; x < 200; ++x)
            ASSERT_EQ(sheet.pixel(4 * (cw - 1) + x, 3 * (ch - 1) + y), last.pixel(x, y)) << x << "," << y;

    EXPECT_EQ(t.controls().read(ctl::lock_size), 1);
    EXPECT_EQ(t.controls().read(ctl::lock_height), 1);
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(t.ui.dialogs[0].title, "Save tile set");
    EXPECT_EQ(t.ui.dialogs[0].name, "Water");
    EXPECT_EQ(t.ui.dialogs[0].folder, dir_.string());
    EXPECT_EQ(t.ui.dialogs[0].filter_text, "Bitmap (*.bmp)");
    EXPECT_EQ(t.ui.dialogs[0].pattern, "*.bmp");
    EXPECT_EQ(read_file(dir_ / "set.bmp"), bmp_file_bytes(sheet));
    EXPECT_EQ(fs::file_size(dir_ / "set.bmp"), 3600054u);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "Creation tiles");
    EXPECT_EQ(t.ui.messages[0].text, "Saved " + (dir_ / "set.bmp").string());
    EXPECT_EQ(t.ui.refreshes, 20);
}

TEST_F(InTempDir, TileSetNamesTheSuffixCaseSensitively) {
    t.controls().write(ctl::iso_width, 16);
    for (const char* answer : {"set.BMP", "set.bmp", "plain"}) {
        t.ui.save_answer = answer;
        t.app->control_event(ctl::tiles_creation_button);
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"plain.bmp", "set.BMP.bmp", "set.bmp"}));
    EXPECT_EQ(t.state().file_name, "plain.bmp");
}

TEST_F(InTempDir, CancellingTheDialogWritesNothing) {
    t.controls().write(ctl::iso_width, 16);
    t.ui.save_answer.reset();
    t.app->control_event(ctl::tiles_creation_button);
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_EQ(t.controls().read(ctl::progress_bar), 0);
    EXPECT_TRUE(t.controls().enabled(ctl::draw_random_button));
    EXPECT_TRUE(t.controls().enabled(ctl::panel));
}

TEST_F(InTempDir, ControlsAreDisabledWhileASetIsDrawn) {
    t.controls().write(ctl::iso_width, 16);
    const std::vector<int> blocked{2, 26, 4, 20, 21, 25, 24, 37, 60, 58, 67, 71, 70, 75, 77};
    int checks = 0, last_progress = -1;
    t.ui.on_refresh = [&] {
        ++checks;
        for (int number : blocked) EXPECT_FALSE(t.controls().enabled(number)) << number;
        for (int number : {ctl::water_texture_1_button, ctl::water_texture_2_button, ctl::lock_size, ctl::iso_width})
            EXPECT_TRUE(t.controls().enabled(number)) << number;
        const int progress = t.controls().read(ctl::progress_bar);
        EXPECT_GE(progress, last_progress);
        last_progress = progress;
    };
    t.ui.save_answer = "set.bmp";
    t.app->control_event(ctl::tiles_creation_button);
    EXPECT_EQ(checks, 20);
    EXPECT_EQ(last_progress, 100);
    for (int number : blocked) EXPECT_TRUE(t.controls().enabled(number)) << number;
    EXPECT_EQ(t.controls().read(ctl::progress_bar), 0);
}

TEST_F(InTempDir, TileSetWriteFailuresAreReported) {
    t.controls().write(ctl::iso_width, 16);
    // A directory that takes no new files, even for root.
    t.ui.save_answer = "/proc/brannoc-set.bmp";
    t.app->control_event(ctl::tiles_creation_button);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "Creation tiles");
    EXPECT_EQ(t.ui.messages[0].text.rfind("Could not save /proc/brannoc-set.bmp", 0), 0u) << t.ui.messages[0].text;
    // A chosen name that is a directory: the directory stays as it was.
    fs::create_directory("taken.bmp");
    t.ui.save_answer = "taken.bmp";
    t.app->control_event(ctl::tiles_creation_button);
    EXPECT_EQ(t.ui.messages[1].text.rfind("Could not save taken.bmp", 0), 0u) << t.ui.messages[1].text;
    EXPECT_TRUE(fs::is_directory("taken.bmp"));
    EXPECT_TRUE(t.controls().enabled(ctl::draw_random_button));
}

TEST_F(InTempDir, TileSetOnAboutCopiesTheSameCanvasAndDefaultsToTree) {
    t.controls().write(ctl::iso_width, 16);
    draw_on(tab_about);
    t.ui.save_answer.reset();
    t.app->control_event(ctl::tiles_creation_button);
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(t.ui.dialogs[0].name, "Tree");
}

TEST_F(InTempDir, SaveImageAndTileSetsKeepAWriteProtectedFileForAUser) {
    // A user protects a tile and a sheet, then saves over both by mistake.
    for (const char* name : {"TileHouse1.bmp", "sheet.bmp"}) {
        std::ofstream(name) << "keep me";
        ASSERT_EQ(::chown(name, ordinary_uid(), ordinary_gid()), 0);
        ::chmod(name, 0444);
    }
    ASSERT_EQ(::chown(dir_.c_str(), ordinary_uid(), ordinary_gid()), 0);
    const ChildOutcome saved = run_as_ordinary_user([this] {
        save();
        t.ui.save_answer = "sheet.bmp";
        t.app->control_event(ctl::tiles_creation_button);
        std::string said;
        for (const auto& message : t.ui.messages) said += message.text + "\n";
        return said;
    });
    // "Save image" goes past the protected name; a chosen name is refused.
    EXPECT_EQ(saved.output, "Saved TileHouse2.bmp\nCould not save sheet.bmp: Permission denied\n");
    for (const char* name : {"TileHouse1.bmp", "sheet.bmp"}) {
        const std::vector<std::uint8_t> kept = read_file(name);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), "keep me") << name;
    }
}

TEST_F(InTempDir, SaveTileAsPngOffersTheNextFreeNameAndReportsFailures) {
    draw_on(tab_tree);
    std::ofstream("TileTree1.png") << "yesterday";
    TransparentTile tile{t.state().canvas, std::vector<std::uint8_t>(260 * 260, 255)};
    TileContext ctx = t.context();
    t.ui.save_answer.reset();  // cancelled
    save_tile_png(ctx, tile);
    ASSERT_EQ(t.ui.dialogs.size(), 1u);
    EXPECT_EQ(t.ui.dialogs[0].title, "Save tile as PNG");
    EXPECT_EQ(t.ui.dialogs[0].name, "TileTree2.png");
    EXPECT_EQ(t.ui.dialogs[0].pattern, "*.png");
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_EQ(files(), std::vector<std::string>{"TileTree1.png"});
    // A folder that takes no files, even for root: said, and the number kept.
    t.ui.save_answer = "/proc/brannoc-tile";
    save_tile_png(ctx, tile);
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].title, "Save tile as PNG");
    EXPECT_EQ(t.ui.messages[0].text.rfind("Could not save /proc/brannoc-tile.png: ", 0), 0u) << t.ui.messages[0].text;
    EXPECT_EQ(t.state().save_counter, 0);
}
