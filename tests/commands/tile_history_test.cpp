#include "commands/application.hpp"

#include "state/control_ids.hpp"
#include "../support/test_app.hpp"
#include "../support/test_files.hpp"

#include <vector>

namespace {
// A started application that keeps its tiles, as the window's does.
struct HistoryApp : TestApp {
    explicit HistoryApp(std::uint64_t seed) : TestApp(seed) { app->keep_history(true); }
};

void draw_on(TestApp& t, int tab) {
    t.controls().user_changed(ctl::panel, tab);
    t.app->control_event(ctl::draw_random_button);
}

// Painted pixels must all be opaque and every transparent pixel the black
// background; a stale or wrong redraw breaks one or the other.
void expect_alpha_fits(const TransparentTile& tile) {
    for (int y = 0; y < tile.image.height(); ++y)
        for (int x = 0; x < tile.image.width(); ++x) {
            const std::uint8_t a = tile.alpha[static_cast<std::size_t>(y) * tile.image.width() + x];
            const bool black = tile.image.pixel(x, y) == rgb(0, 0, 0);
            ASSERT_TRUE(a == 255 || (a == 0 && black)) << x << "," << y;
        }
    EXPECT_EQ(tile.alpha.front(), 0);  // the canvas corner: never painted
    EXPECT_EQ(tile.alpha.back(), 0);
}
}  // namespace

TEST(TileHistory, StepsBackAndForthWithoutChangingTheNextTile) {
    TempCurrentDir temp("brannoc-history-");
    HistoryApp walked(5);
    TestApp straight(5);  // keeps nothing: the history must not change the tiles
    std::vector<RasterImage> drawn;
    for (int tab : {tab_house, tab_water, tab_tree}) {
        draw_on(walked, tab);
        draw_on(straight, tab);
        drawn.push_back(walked.state().canvas);
    }
    EXPECT_TRUE(walked.app->show_earlier_tile());
    EXPECT_TRUE(walked.app->show_earlier_tile());
    EXPECT_FALSE(walked.app->show_earlier_tile());
    EXPECT_EQ(walked.state().canvas, drawn[0]);
    EXPECT_EQ(walked.ui.last_shown, drawn[0]);
    EXPECT_EQ(walked.state().last_tab, tab_house);  // saves are named after the tile shown
    walked.app->control_event(ctl::save_image_button);
    EXPECT_EQ(walked.ui.messages.back().text.rfind("Saved TileHouse", 0), 0u);
    EXPECT_TRUE(walked.app->show_later_tile());
    EXPECT_EQ(walked.state().canvas, drawn[1]);
    EXPECT_EQ(walked.state().last_tab, tab_water);
    walked.app->transparent_tile();  // a redraw on the side

    // The walk and the redraw leave the stream and the state as they were.
    walked.controls().user_changed(ctl::panel, tab_mountain);
    walked.app->keyboard_command(key_command::draw_random);
    draw_on(straight, tab_mountain);
    EXPECT_EQ(walked.state().canvas, straight.state().canvas);
    EXPECT_FALSE(walked.app->show_later_tile());  // the new tile joined at the end
    EXPECT_TRUE(walked.app->show_earlier_tile());
    EXPECT_EQ(walked.state().canvas, drawn[2]);
}

TEST(TileHistory, KeepsTheLastFiftyAndIgnoresTheAboutTab) {
    HistoryApp t(8);
    for (int i = 0; i < 55; ++i) draw_on(t, tab_water);
    draw_on(t, tab_about);
    EXPECT_EQ(t.app->history().size(), 50u);
    int steps = 0;
    while (t.app->show_earlier_tile()) ++steps;
    EXPECT_EQ(steps, 49);
}

TEST(TileHistory, AlphaComesFromTheTilesOwnInputsForEveryKind) {
    HistoryApp t(21);
    t.controls().write(ctl::add_black_border, 1);
    t.controls().write(ctl::draw_tile_area, 1);
    t.controls().write(ctl::add_ground, 1);
    t.controls().write(ctl::grass, 1);
    t.controls().write(ctl::terrain_tree, 1);
    for (int tab : {tab_house, tab_tree, tab_terrain, tab_mountain, tab_water}) draw_on(t, tab);
    // The mountain's shape is kept in the state: the next one reuses it.
    t.controls().write(ctl::lock_current_shape, 1);
    draw_on(t, tab_mountain);
    draw_on(t, tab_mountain);
    for (int back = 0; back < 7; ++back) {
        SCOPED_TRACE(back);
        const TransparentTile tile = t.app->transparent_tile();
        EXPECT_EQ(tile.image, t.state().canvas);
        expect_alpha_fits(tile);
        t.app->show_earlier_tile();
    }
}

TEST(TileHistory, PaintedBlackStaysOpaque) {
    HistoryApp t(4);
    // Water from an all-black sheet: a diamond painted black on black.
    RasterImage& sheet = t.state().ground_sheet.image;
    sheet = RasterImage(sheet.width(), sheet.height());
    draw_on(t, tab_water);
    const TransparentTile tile = t.app->transparent_tile();
    EXPECT_EQ(tile.image, RasterImage(260, 260));
    EXPECT_EQ(tile.alpha[180 * 260 + 130], 255);  // the tile's centre
    EXPECT_EQ(tile.alpha[180 * 260 + 20], 0);     // beside the diamond
}

TEST(TileHistory, TheLastTileOfASetJoinsTheHistory) {
    HistoryApp t(3);
    draw_on(t, tab_water);
    t.controls().write(ctl::iso_width, 16);
    t.ui.save_answer.reset();
    t.app->control_event(ctl::tiles_creation_button);
    EXPECT_EQ(t.app->history().size(), 2u);
    EXPECT_EQ(t.app->history().shown()->image, t.state().canvas);
}
