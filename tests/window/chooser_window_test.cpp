#include "gui_fixture.hpp"

#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "app/window/chooser_window.hpp"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <string>

namespace {
struct ButtonCase {
    int button;
    int tab;
    const char* title;
    int lock;      // the box a pick ticks
    QPoint click;  // in the grid
};

const ButtonCase button_cases[] = {
    {ctl::wall_texture_button, tab_house, "Choose wall texture", ctl::lock_wall_texture, {140, 10}},
    {ctl::roof_texture_button, tab_house, "Choose roof texture", ctl::lock_roof_texture, {140, 10}},
    {ctl::door_texture_button, tab_house, "Choose door texture", ctl::lock_door_texture, {70, 70}},
    {ctl::windows_texture_button, tab_house, "Choose windows texture", ctl::lock_windows_texture, {70, 70}},
    {ctl::terrain_ground_texture_button,
     tab_terrain,
     "Choose ground texture",
     ctl::terrain_lock_ground_texture,
     {70, 70}},
    {ctl::grass_colour_button, tab_terrain, "Choose grass colour", ctl::lock_colour_texture, {70, 70}},
    {ctl::terrain_water_texture_button, tab_terrain, "Choose water texture", ctl::lock_terrain_water_texture, {70, 70}},
    {ctl::mountain_ground_texture_button,
     tab_mountain,
     "Choose ground texture",
     ctl::mountain_lock_ground_texture,
     {70, 70}},
    {ctl::mountain_texture_button, tab_mountain, "Choose mountain texture", ctl::lock_mountain_texture, {70, 70}},
    {ctl::water_texture_1_button, tab_water, "Choose water texture", ctl::lock_water_texture_1, {70, 70}},
    {ctl::water_texture_2_button, tab_water, "Choose water texture", ctl::lock_water_texture_2, {70, 70}},
};
}  // namespace

TEST_F(WindowTest, EveryTextureButtonOpensItsChooserAndThePickTicksTheLock) {
    for (const ButtonCase& c : button_cases) {
        SCOPED_TRACE(c.title);
        widget<QTabWidget>(ctl::panel)->setCurrentIndex(c.tab);
        std::string title;
        bool main_enabled = true;
        when_modal_opens([&](QWidget* modal) {
            auto* chooser = qobject_cast<ChooserWindow*>(modal);
            ASSERT_NE(chooser, nullptr);
            title = chooser->windowTitle().toStdString();
            main_enabled = window->isEnabled();
            QTest::mouseClick(chooser->grid(), Qt::LeftButton, {}, c.click);
            QTest::mouseClick(chooser->ok_button(), Qt::LeftButton);
        });
        QTest::mouseClick(widget<QPushButton>(c.button), Qt::LeftButton);
        EXPECT_EQ(title, c.title);
        EXPECT_FALSE(main_enabled);
        EXPECT_TRUE(window->isEnabled());
        if (c.lock > 0) {
            EXPECT_TRUE(widget<QCheckBox>(c.lock)->isChecked());
        }
    }
    EXPECT_EQ(app->state().chosen_walls[0], 1);
    EXPECT_EQ(app->state().chosen_roofs[0], 1);
    EXPECT_EQ(app->state().door_texture, 6);
    EXPECT_EQ(app->state().mountain_texture, 6);
    EXPECT_EQ(app->state().water_texture_2, 6);
}

TEST_F(WindowTest, ThePickShowsInTheNextTile) {
    widget<QTabWidget>(ctl::panel)->setCurrentIndex(tab_water);
    for (int button : {ctl::water_texture_1_button, ctl::water_texture_2_button}) {
        when_modal_opens([](QWidget* modal) {
            auto* chooser = qobject_cast<ChooserWindow*>(modal);
            QTest::mouseClick(chooser->grid(), Qt::LeftButton, {}, QPoint(64 * 4 + 3, 64 + 3));  // cell 9
            chooser->close();  // the close box keeps the pick, as "Ok" does
        });
        QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton);
    }
    EXPECT_TRUE(widget<QCheckBox>(ctl::lock_water_texture_1)->isChecked());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));  // back from the chooser
    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(app->state().water_texture_1, 9);
    EXPECT_EQ(app->state().water_texture_2, 9);
    EXPECT_EQ(app->state().last_drawn_tab, tab_water);
}

TEST_F(WindowTest, TheMainWindowTakesNoInputWhileAChooserIsOpen) {
    const int draws_before = static_cast<int>(app->random().draw_count());
    when_modal_opens([&](QWidget* modal) {
        QTest::keyClick(window.get(), Qt::Key_R);
        QTest::mouseClick(widget<QPushButton>(ctl::draw_random_button), Qt::LeftButton);
        QTest::mouseClick(widget<QCheckBox>(ctl::draw_ruins), Qt::LeftButton);
        qobject_cast<ChooserWindow*>(modal)->ok_button()->click();
    });
    QTest::mouseClick(widget<QPushButton>(ctl::door_texture_button), Qt::LeftButton);
    EXPECT_EQ(static_cast<int>(app->random().draw_count()), draws_before);
    EXPECT_FALSE(widget<QCheckBox>(ctl::draw_ruins)->isChecked());
    EXPECT_FALSE(app->controls().checked(ctl::draw_ruins));
}

TEST_F(WindowTest, ChooserWindowSizeAndOkButton) {
    TextureChooser chooser(app->state(), ChooserKind::mountain);
    ChooserWindow dialog(chooser, window.get());
    EXPECT_EQ(dialog.size(), QSize(320, 283));
    EXPECT_EQ(dialog.ok_button()->geometry(), QRect(135, 261, 50, 18));
    EXPECT_EQ(dialog.ok_button()->text(), "Ok");
    // A click in the strip below the cells, beside "Ok", picks nothing.
    app->state().mountain_texture = 3;
    QTest::mouseClick(dialog.grid(), Qt::LeftButton, {}, QPoint(20, 270));
    EXPECT_EQ(app->state().mountain_texture, 3);
}

TEST_F(WindowTest, ComboListsOpenNoTallerThanTheTableAllows) {
    for (const ControlSpec& spec : control_table()) {
        if (spec.kind != ControlKind::ComboBox) continue;
        SCOPED_TRACE(spec.number);
        auto* combo = widget<QComboBox>(spec.number);
        widget<QTabWidget>(ctl::panel)->setCurrentIndex(spec.tab < 0 ? 0 : spec.tab);
        combo->showPopup();
        QWidget* popup = combo->view()->window();
        EXPECT_LE(popup->height(), spec.height);
        combo->hidePopup();
    }
}
