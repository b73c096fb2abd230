#include "gui_fixture.hpp"

#include "state/control_ids.hpp"
#include "state/control_table.hpp"
#include "app/window/qt_image.hpp"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

TEST_F(WindowTest, WindowTitleSizeAndFrame) {
    EXPECT_EQ(window->windowTitle(), "Brannoc 1.4");
    EXPECT_EQ(window->size(), QSize(660, 470));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, EveryControlStandsWhereTheTableSays) {
    for (const ControlSpec& spec : control_table()) {
        if (spec.number == ctl::unnumbered) continue;
        QWidget* w = window->control(spec.number);
        ASSERT_NE(w, nullptr) << spec.number;
        SCOPED_TRACE(spec.number);
        EXPECT_EQ(w->pos(), QPoint(spec.x, spec.y));
        if (spec.kind == ControlKind::Image) continue;  // takes the size of its image
        EXPECT_EQ(w->width(), spec.width);
        if (spec.kind != ControlKind::ComboBox) {
            EXPECT_EQ(w->height(), spec.height);
        }
        EXPECT_EQ(w->isEnabled(), !spec.disabled);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(button->text().toStdString(), spec.label);
        }
        if (auto* label = qobject_cast<QLabel*>(w); label && spec.kind == ControlKind::TextLabel) {
            EXPECT_EQ(label->text().toStdString(), spec.label);
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            ASSERT_EQ(combo->count(), static_cast<int>(spec.items.size()));
            EXPECT_EQ(combo->currentIndex(), spec.default_state);
            EXPECT_FALSE(combo->isEditable());
        }
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            EXPECT_EQ(box->isChecked(), spec.default_state != 0);
        }
    }
    auto* panel = widget<QTabWidget>(ctl::panel);
    const std::vector<std::string>& titles = find_control(ctl::panel)->items;
    ASSERT_EQ(panel->count(), static_cast<int>(titles.size()));
    for (int tab = 0; tab < panel->count(); ++tab) EXPECT_EQ(panel->tabText(tab).toStdString(), titles[tab]);
    EXPECT_EQ(panel->currentIndex(), 0);
    EXPECT_EQ(widget<QComboBox>(ctl::iso_width)->currentText(), "100");
    EXPECT_EQ(widget<QComboBox>(ctl::tree_width)->currentText(), "1.0 x");
    EXPECT_EQ(widget<QLabel>(ctl::tile_image)->pixmap().size(), QSize(260, 260));
    EXPECT_EQ(widget<QLabel>(ctl::about_image)->pixmap().size(), QSize(140, 133));
}

TEST_F(WindowTest, EveryLabelFitsItsPlace) {
    for (const ControlSpec& spec : control_table()) {
        if (spec.label.empty() || spec.kind == ControlKind::Image) continue;
        QWidget* w = spec.number == ctl::unnumbered ? nullptr : window->control(spec.number);
        QString text = QString::fromStdString(spec.label);
        text.remove('&');
        const QFontMetrics metrics(w ? w->font() : QApplication::font());
        int needed = metrics.horizontalAdvance(text);
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            QStyleOptionButton option;
            option.initFrom(box);
            needed += box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box) +
                      box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
        } else if (qobject_cast<QPushButton*>(w)) {
            needed += 6;  // the button's frame
        }
        EXPECT_LE(needed, spec.width) << spec.label;
        EXPECT_LE(metrics.height(), spec.height) << spec.label;
    }
}

TEST_F(WindowTest, DrawRandomButtonAndRKeyShowTheTile) {
    widget<QCheckBox>(ctl::draw_tile_area)->click();
    EXPECT_EQ(app->controls().read(ctl::draw_tile_area), 1);
    QTest::mouseClick(widget<QPushButton>(ctl::draw_random_button), Qt::LeftButton);
    const QImage shown = widget<QLabel>(ctl::tile_image)->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(shown, to_qimage(app->state().canvas));
    EXPECT_EQ(shown.pixelColor(80, 180), QColor(0, 200, 0));  // the tile area's left corner

    widget<QComboBox>(ctl::iso_width)->setCurrentIndex(16);
    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(app->state().geometry.half_width, 100);
    const QImage wide = widget<QLabel>(ctl::tile_image)->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(wide.pixelColor(30, 180), QColor(0, 200, 0));

    const QImage before = wide;
    QTest::keyClick(window.get(), Qt::Key_D);
    EXPECT_EQ(widget<QLabel>(ctl::tile_image)->pixmap().toImage().convertToFormat(QImage::Format_RGB888), before);
}

TEST_F(WindowTest, AltRPressesDrawRandom) {
    widget<QCheckBox>(ctl::draw_tile_area)->click();
    QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
    QTest::qWait(400);  // a mnemonic presses the button visibly, then clicks
    EXPECT_EQ(widget<QLabel>(ctl::tile_image)->pixmap().toImage().pixelColor(80, 180), QColor(0, 200, 0));
}

TEST_F(WindowTest, TabsAndUserChangesReachTheModel) {
    auto* panel = widget<QTabWidget>(ctl::panel);
    QTest::mouseClick(panel->tabBar(), Qt::LeftButton, {}, panel->tabBar()->tabRect(4).center());
    EXPECT_EQ(app->controls().read(ctl::panel), tab_water);
    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(app->state().last_tab, tab_water);

    widget<QComboBox>(ctl::roof_shape)->setCurrentIndex(0);
    EXPECT_EQ(app->state().roof_side, 0);
    widget<QComboBox>(ctl::house_shape)->setCurrentIndex(0);
    EXPECT_EQ(app->state().geometry.house_right_reach, 40);
}

TEST_F(WindowTest, CommandWritesShowInTheWidgets) {
    app->controls().write(ctl::lock_size, 0);
    EXPECT_FALSE(widget<QCheckBox>(ctl::lock_size)->isChecked());
    app->controls().write(ctl::house_shape, 3);
    EXPECT_EQ(widget<QComboBox>(ctl::house_shape)->currentText(), "3 x 3");
    app->controls().write(ctl::progress_bar, 42);
    EXPECT_EQ(widget<QProgressBar>(ctl::progress_bar)->value(), 42);
    app->controls().set_enabled(ctl::panel, false);
    EXPECT_FALSE(widget<QTabWidget>(ctl::panel)->tabBar()->isEnabled());
    EXPECT_TRUE(widget<QCheckBox>(ctl::lock_shape)->isEnabled()) << "controls on the pages stay usable";
    app->controls().set_enabled(ctl::panel, true);
    EXPECT_TRUE(widget<QTabWidget>(ctl::panel)->tabBar()->isEnabled());
}

TEST_F(WindowTest, DisabledControlsCannotBeChanged) {
    auto* shadow = widget<QCheckBox>(ctl::tree_shadow);
    QTest::mouseClick(shadow, Qt::LeftButton);
    EXPECT_FALSE(shadow->isChecked());
    EXPECT_EQ(app->controls().read(ctl::tree_shadow), 0);
    EXPECT_FALSE(widget<QComboBox>(ctl::tree_width)->isEnabled());
}

TEST_F(WindowTest, EscExitAndCloseEndTheLoopWithCodeZero) {
    QTimer::singleShot(0, [this] { QTest::keyClick(window.get(), Qt::Key_Escape); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, ExitButtonEndsTheLoop) {
    QTimer::singleShot(0, [this] { widget<QPushButton>(ctl::exit_button)->click(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, CloseBoxEndsTheLoop) {
    QTimer::singleShot(0, [this] { window->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
}

namespace {
struct RunResult {
    int code;
    std::string stderr_text;
};
RunResult run_program(const std::string& environment) {
    const std::string err = "/tmp/brannoc-start-" + std::to_string(::getpid()) + ".txt";
    const std::string command = "env " + environment + " " BRANNOC_PROGRAM " 2>" + err + " </dev/null";
    const int status = std::system(command.c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(err.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}
}  // namespace

TEST(ProgramStart, WithoutADisplayItSaysSoOnOneLineAndFails) {
    for (const std::string& environment : {std::string("-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"),
                                           std::string("-u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY=:12345")}) {
        const RunResult result = run_program(environment);
        SCOPED_TRACE(environment);
        EXPECT_NE(result.code, 0);
        EXPECT_EQ(result.stderr_text.rfind("brannoc: cannot open the main window", 0), 0u) << result.stderr_text;
        EXPECT_EQ(std::count(result.stderr_text.begin(), result.stderr_text.end(), '\n'), 1) << result.stderr_text;
    }
}

TEST_F(WindowTest, CloseDuringATileSetEndsTheProgramWhenTheSetIsDone) {
    bool closed_mid_set = false;
    int tiles_after_close = 0;
    app->controls().write(ctl::iso_width, 16);  // a short set: 42 tiles
    QTimer::singleShot(0, [&] {
        // The first tile's repaint lets this close request in; the set goes on.
        QTimer::singleShot(0, [&] {
            window->close();
            closed_mid_set = window->isVisible();
        });
        when_modal_opens([&](QWidget* modal) {
            tiles_after_close = app->controls().read(ctl::progress_bar);
            qobject_cast<QDialog*>(modal)->reject();
        });
        widget<QPushButton>(ctl::tiles_creation_button)->click();
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(closed_mid_set);        // still open right after the request
    EXPECT_EQ(tiles_after_close, 100);  // the set ran to its end
    EXPECT_FALSE(window->isVisible());  // and then the program ended
}

TEST_F(WindowTest, EscGoesToAnOpenListNotToTheWindow) {
    auto* combo = widget<QComboBox>(ctl::iso_width);
    combo->showPopup();
    ASSERT_TRUE(combo->view()->isVisible());
    // Where a window manager hands the key to the main window instead.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    QTest::keyClick(combo->view(), Qt::Key_Escape);
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_TRUE(window->isVisible());
    // With the list closed and the focus on the box, Esc ends the program.
    combo->setFocus();
    QTimer::singleShot(0, [combo] { QTest::keyClick(combo, Qt::Key_Escape); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window->isVisible());
}
