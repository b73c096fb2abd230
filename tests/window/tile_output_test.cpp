#include "gui_fixture.hpp"

#include "app/window/qt_image.hpp"
#include "app/window/render_command.hpp"
#include "canvas/bmp_writer.hpp"
#include "export/control_options.hpp"
#include "export/tile/tile_render.hpp"
#include "state/control_ids.hpp"
#include "../support/render_run.hpp"
#include "../support/test_files.hpp"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>

namespace fs = std::filesystem;

namespace {
class TileOutputTest : public WindowTest {
protected:
    QImage shown() {
        return widget<QLabel>(ctl::tile_image)->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        // The offscreen platform hands activation back late after a dialog.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), k, modifiers);
    }
    // Answers the save dialog with a name (or cancels with an empty one)
    // and the message that follows with OK.
    void answer_dialog(const std::string& name) {
        when_modal_opens([this, name](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog_title = dialog->windowTitle();
            dialog_filter = dialog->nameFilters().join(";");
            if (auto* field = dialog->findChild<QLineEdit*>()) offered = field->text();
            if (name.empty()) return dialog->reject();
            when_modal_opens([this](QWidget* box) {
                message = qobject_cast<QMessageBox*>(box)->text();
                qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
            });
            dialog->selectFile(QString::fromStdString(name));
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    QString dialog_title, dialog_filter, offered, message;
    TempCurrentDir temp_{"brannoc-tile-out-"};
};

Rgba decode(const QByteArray& png) {
    const fs::path path = fs::temp_directory_path() / ("brannoc-clip-" + std::to_string(::getpid()) + ".png");
    std::ofstream(path, std::ios::binary).write(png.data(), png.size());
    Rgba out = read_rgba(path);
    fs::remove(path);
    return out;
}

void expect_same_tile(const Rgba& png, const TransparentTile& tile) {
    ASSERT_EQ(png.width, tile.image.width());
    ASSERT_EQ(png.height, tile.image.height());
    for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
            const std::uint8_t* p = png.at(x, y);
            const std::uint8_t alpha = tile.alpha[static_cast<std::size_t>(y) * png.width + x];
            ASSERT_EQ(p[3], alpha) << x << "," << y;
            if (alpha) {
                ASSERT_EQ(rgb(p[0], p[1], p[2]), tile.image.pixel(x, y)) << x << "," << y;
            }
        }
}

// A command line split as a POSIX shell splits it (plain and single-quoted words).
std::vector<std::string> shell_split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false, quoted = false;
    for (const char c : line) {
        if (quoted) {
            if (c == '\'') quoted = false;
            else word += c;
        } else if (c == '\'') {
            quoted = in_word = true;
        } else if (c == ' ') {
            if (in_word) words.push_back(word);
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word) words.push_back(word);
    return words;
}
}  // namespace

TEST_F(TileOutputTest, HistoryKeysStepThroughTheTilesAndSavesFollowTheTileShown) {
    std::vector<QImage> drawn;
    for (int tab : {tab_house, tab_water, tab_tree}) {
        widget<QTabWidget>(ctl::panel)->setCurrentIndex(tab);
        key(Qt::Key_R);
        drawn.push_back(shown());
    }
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(), drawn[1]);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);  // nothing before the first
    EXPECT_EQ(shown(), drawn[0]);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shown(), drawn[1]);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shown(), drawn[2]);
    key(Qt::Key_Z, Qt::ControlModifier);
    when_modal_opens([](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click(); });
    QTest::mouseClick(widget<QPushButton>(ctl::save_image_button), Qt::LeftButton);
    EXPECT_EQ(read_file("TileWater1.bmp"), bmp_file_bytes(app->state().canvas));
    EXPECT_EQ(to_qimage(app->state().canvas), drawn[1]);
}

TEST_F(TileOutputTest, EveryKindOfATabIsSavedOfferedKeptAndOnTheCommandLine) {
    // A kind's tiles are saved as "Tile" and its tab's title, its sets are
    // offered under the title, its tiles join the Ctrl+Z history, and its
    // controls are options of the renderer, grouped under the title.
    auto* panel = widget<QTabWidget>(ctl::panel);
    const std::string help = parse_args({"--help"}).text;
    int saved = 0;
    for (const TileKindRow& kind : kind_rows()) {
        if (kind.tab < 0) continue;  // drawn only as sets
        SCOPED_TRACE(kind.name);
        const std::string title = panel->tabText(kind.tab).toStdString();
        panel->setCurrentIndex(kind.tab);
        const std::size_t kept = app->history().size();
        key(Qt::Key_R);
        const QImage drawn = shown();
        answer_dialog("");
        QTest::mouseClick(widget<QPushButton>(ctl::tiles_creation_button), Qt::LeftButton);
        EXPECT_EQ(offered.toStdString(), title);
        EXPECT_EQ(app->history().size(), kept + 2);  // the tile and the set's last
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(shown(), drawn);
        when_modal_opens([this](QWidget* box) {
            message = qobject_cast<QMessageBox*>(box)->text();
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(widget<QPushButton>(ctl::save_image_button), Qt::LeftButton);
        const std::string name = "Tile" + title + std::to_string(++saved) + ".bmp";
        EXPECT_EQ(message.toStdString(), "Saved " + name);
        EXPECT_EQ(read_file(name), bmp_file_bytes(app->state().canvas));

        const std::size_t group = help.find("\n" + title + ":\n");
        ASSERT_NE(group, std::string::npos);
        const std::string options = help.substr(group, help.find("\n\n", group + 1) - group);
        int own = 0;
        for (const ControlOption& option : control_options()) {
            if (option.tab != kind.tab) continue;
            ++own;
            EXPECT_NE(options.find("\n  --" + option.name + " "), std::string::npos) << option.name;
            std::vector<std::string> args{"--kind", kind.name, "--" + option.name};
            if (option.kind == OptionKind::choice) args.push_back(option.spec->items[option.spec->default_state]);
            if (option.kind == OptionKind::texture || option.kind == OptionKind::texture_list) args.push_back("1");
            const ParsedCommandLine parsed = parse_args(args);
            EXPECT_TRUE(parsed.settings) << option.name << ": " << parsed.text;
        }
        EXPECT_GT(own, 0);
    }
}

TEST_F(TileOutputTest, RightClickOnTheTileOpensItsActionsWithTheirShortcuts) {
    key(Qt::Key_R);
    const QImage first = shown();
    key(Qt::Key_R);
    QStringList entries;
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        poll->stop();
        poll->deleteLater();
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) entries << action->text() + "|" + action->shortcut().toString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().first()).center());
    });
    poll->start();
    QWidget* tile = widget<QLabel>(ctl::tile_image);
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(100, 100), tile->mapToGlobal(QPoint(100, 100)));
    QApplication::sendEvent(tile, &right_click);
    EXPECT_EQ(entries, QStringList({"Previous tile|Ctrl+Z", "Next tile|Ctrl+Shift+Z", "Copy image|", "Save image|",
                                    "Save tile as PNG...|Ctrl+S", "Copy as brannoc-render command|Ctrl+Shift+C",
                                    "World...|Ctrl+Shift+W"}));
    EXPECT_EQ(shown(), first);  // "Previous tile" was clicked
}

TEST_F(TileOutputTest, CtrlSWritesTheTileShownAsATransparentPng) {
    std::ofstream("TileHouse1.png") << "yesterday";
    key(Qt::Key_R);
    key(Qt::Key_R);
    key(Qt::Key_Z, Qt::ControlModifier);
    answer_dialog("");  // cancelled: nothing written
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialog_title, "Save tile as PNG");
    EXPECT_EQ(dialog_filter, "PNG image (*.png)");
    EXPECT_EQ(offered, "TileHouse2.png");
    EXPECT_FALSE(fs::exists("TileHouse2.png"));

    answer_dialog("TileHouse2.png");
    key(Qt::Key_S, Qt::ControlModifier);
    const fs::path written = fs::current_path() / "TileHouse2.png";
    EXPECT_EQ(message.toStdString(), "Saved " + written.string());
    const TransparentTile tile = app->transparent_tile();
    expect_same_tile(read_rgba(written), tile);
    EXPECT_EQ(tile.image, app->history().shown()->image);
    // The offered number is used up: "Save image" goes on from it.
    when_modal_opens([this](QWidget* box) {
        message = qobject_cast<QMessageBox*>(box)->text();
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(widget<QPushButton>(ctl::save_image_button), Qt::LeftButton);
    EXPECT_EQ(message, "Saved TileHouse3.bmp");
}

TEST_F(TileOutputTest, CopyImageAddsThePngWithAlphaBesideTheOtherFormats) {
    key(Qt::Key_R);
    QTest::mouseClick(widget<QPushButton>(ctl::copy_image_button), Qt::LeftButton);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->hasFormat("image/bmp"));
    const Rgba png = decode(data->data("image/png"));
    expect_same_tile(png, app->transparent_tile());
    EXPECT_EQ(png.at(0, 0)[3], 0);
    EXPECT_EQ(png.at(130, 175)[3], 255);
}

TEST_F(TileOutputTest, TheCopiedCommandDrawsTheSameTilesAsTheWindow) {
    struct Setup {
        int tab;
        std::vector<int> ticks;
        std::vector<std::pair<int, int>> combos;
        std::vector<std::pair<int, QPoint>> picks;  // button, click in its chooser
    };
    const Setup setups[] = {
        {tab_house,
         {ctl::add_ground, ctl::grass, ctl::lock_roof, ctl::draw_tile_area},
         {{ctl::house_shape, 3}, {ctl::roof_shape, 0}, {ctl::iso_width, 4}, {ctl::lowest_height, 2}},
         {{ctl::wall_texture_button, {140, 10}}, {ctl::door_texture_button, {70, 70}}}},
        {tab_terrain,
         {ctl::grass, ctl::boulder, ctl::terrain_tree, ctl::pool, ctl::conifer},
         {{ctl::grass_density, 6}, {ctl::boulder_quantity, 3}},
         {{ctl::grass_colour_button, {70, 10}}, {ctl::terrain_water_texture_button, {70, 70}}}},
        {tab_mountain, {ctl::snow_covered_top, ctl::add_black_border}, {}, {{ctl::mountain_texture_button, {70, 70}}}},
        {tab_water, {}, {{ctl::iso_width, 16}}, {{ctl::water_texture_2_button, {10, 70}}}},
    };
    for (const Setup& setup : setups) {
        SCOPED_TRACE(setup.tab);
        TearDown();
        SetUp();
        auto* panel = widget<QTabWidget>(ctl::panel);
        for (const auto& [button, at] : setup.picks) {
            panel->setCurrentIndex(button == ctl::terrain_water_texture_button || button == ctl::grass_colour_button
                                       ? tab_terrain
                                       : setup.tab);
            when_modal_opens([at = at](QWidget* modal) {
                auto* chooser = qobject_cast<QDialog*>(modal);
                QWidget* grid = chooser->findChildren<QWidget*>().first();
                QTest::mouseClick(grid, Qt::LeftButton, {}, at);
                chooser->accept();
            });
            QTest::mouseClick(widget<QPushButton>(button), Qt::LeftButton);
        }
        panel->setCurrentIndex(setup.tab);
        for (int box : setup.ticks) widget<QCheckBox>(box)->setChecked(!widget<QCheckBox>(box)->isChecked());
        for (const auto& [combo, item] : setup.combos) widget<QComboBox>(combo)->setCurrentIndex(item);

        key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const std::string command = QGuiApplication::clipboard()->text().toStdString();
        std::vector<std::string> words = shell_split(command);
        ASSERT_GE(words.size(), 3u);
        EXPECT_EQ(words[0], "brannoc-render");
        EXPECT_EQ(words[1], "--kind");
        words.erase(words.begin());
        for (const char* extra : {"--count", "100", "--out", "dir", "--seed", "31", "--transparent"})
            words.push_back(extra);
        const ParsedCommandLine parsed = parse_args(words);
        ASSERT_TRUE(parsed.settings) << command << "\n" << parsed.text;
        EXPECT_EQ(parsed.settings->count, 100);

        // Tile 0 of that run, drawn by the renderer and by the window.
        auto state = create_app_state();
        Application renderer(std::move(state));
        const RenderedTile rendered = render_tile(renderer, *parsed.settings, 0);
        app->random().seed(tile_seed(31, 0));
        key(Qt::Key_R);
        const TransparentTile tile = app->transparent_tile();
        // The renderer's canvas may reach past the window's square; inside
        // the square both must agree pixel for pixel, alpha included.
        int differences = 0;
        for (int y = 0; y < 260; ++y)
            for (int x = 0; x < 260; ++x) {
                const int rx = x - rendered.left, ry = y - rendered.top;
                const std::uint8_t alpha = tile.alpha[static_cast<std::size_t>(y) * 260 + x];
                if (!rendered.image.contains(rx, ry)) {
                    differences += alpha != 0;
                    continue;
                }
                differences += alpha != rendered.alpha[static_cast<std::size_t>(ry) * rendered.image.width() + rx];
                differences += tile.image.pixel(x, y) != rendered.image.pixel(rx, ry);
            }
        EXPECT_EQ(differences, 0) << command;
    }
}

TEST_F(WindowTest, TooltipsSayWhatTheLessObviousControlsDo) {
    for (int number : {ctl::wall_texture_button, ctl::grass_colour_button, ctl::water_texture_2_button, ctl::lock_size,
                       ctl::lock_terrain_water_texture, ctl::lock_current_shape, ctl::draw_only_tile_area,
                       ctl::add_ground, ctl::random_element}) {
        const QString tip = window->control(number)->toolTip();
        EXPECT_FALSE(tip.isEmpty()) << number;
        EXPECT_FALSE(tip.contains('\n')) << number;
    }
}
