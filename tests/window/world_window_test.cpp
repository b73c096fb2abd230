#include "gui_fixture.hpp"

#include "app/render/command_line.hpp"
#include "app/render/world_run.hpp"
#include "app/window/world_preview.hpp"
#include "app/window/world_readout.hpp"
#include "app/window/world_window.hpp"
#include "generators/world/world_layout.hpp"
#include "../support/test_files.hpp"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QWheelEvent>

#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {
// A world small enough to draw in a moment, with every level kind.
WorldChoice small_world() {
    WorldChoice c = default_world_choice();
    c.seed = "5";
    c.width = 10;
    c.height = 7;
    c.iso_width = 40;
    c.levels = 2;
    c.variants = 1;
    c.rivers = 3;
    return c;
}

// Every file under a folder, by its path there.
std::map<std::string, std::vector<std::uint8_t>> folder_files(const fs::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = read_file(entry.path());
    return files;
}

class WorldWindowTest : public WindowTest {
protected:
    WorldWindow* open_world() {
        QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        WorldWindow* world = window->world_window();
        if (world) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(world));
        }
        return world;
    }
    static bool drawn(WorldWindow* world, int ms = 60000) {
        return QTest::qWaitFor([&] { return world->shown_world() != nullptr; }, ms);
    }
    ScratchDir scratch_{"brannoc-world-window-"};
};

TEST_F(WorldWindowTest, CtrlShiftWOpensAWorldBesideAWorkingMainWindow) {
    WorldWindow* world = open_world();
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(world->windowTitle(), "World");
    EXPECT_FALSE(world->isModal());
    world->set_choice(small_world());
    ASSERT_TRUE(drawn(world));
    EXPECT_EQ(world->progress()->value(), 100);
    EXPECT_FALSE(world->cancel_button()->isEnabled());
    // The preview is world.png, as the renderer writes it.
    const auto shown = world->shown_world();
    const auto png = std::find_if(shown->files.files.begin(), shown->files.files.end(),
                                  [](const auto& f) { return f.first == "world.png"; });
    ASSERT_NE(png, shown->files.files.end());
    QImage written;
    ASSERT_TRUE(
        written.loadFromData(reinterpret_cast<const uchar*>(png->second.data()), static_cast<int>(png->second.size())));
    EXPECT_EQ(world->preview()->image(), written);
    // The main window goes on drawing tiles meanwhile.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_TRUE(window->isEnabled());
    // Opened again, it is the same window, as it was left.
    EXPECT_EQ(open_world(), world);
    EXPECT_EQ(world->choice(), small_world());
}

TEST_F(WorldWindowTest, SavedFilesAreThoseItsCopiedCommandWrites) {
    WorldWindow* world = open_world();
    ASSERT_NE(world, nullptr);
    world->set_choice(small_world());
    // Ctrl+S asks for a folder in a dialog titled "Save world"; asked before
    // the world is drawn, it saves the world once it is.
    const fs::path saved = scratch_.path() / "saved";
    fs::create_directory(saved);  // the dialog takes a folder that is there (it can make one)
    QString title;
    when_modal_opens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        dialog->selectFile(QString::fromStdString(saved.string()));
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::keyClick(world, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(title, "Save world");
    EXPECT_TRUE(QTest::qWaitFor([&] { return world->status()->text().startsWith("Saved world.tmx and "); }, 60000))
        << world->status()->text().toStdString();

    world->activateWindow();  // the offscreen platform hands activation back late after a dialog
    ASSERT_TRUE(QTest::qWaitForWindowActive(world));
    QTest::keyClick(world, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const std::string command = QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(command, world_command(small_world(), saved.string()));
    EXPECT_TRUE(world->status()->text().startsWith("Copied: brannoc-render world "));
    EXPECT_NE(command.find(" --rivers 3"), std::string::npos) << command;

    // The command, run: into another folder, the same files, byte for byte.
    const fs::path run = scratch_.path() / "run";
    std::istringstream words(command);
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    ASSERT_FALSE(args.empty());
    ASSERT_EQ(args.back(), saved.string());
    args.back() = run.string();
    args.push_back("--quiet");
    std::vector<const char*> argv;
    for (std::size_t k = 1; k < args.size(); ++k) argv.push_back(args[k].c_str());  // past "brannoc-render"
    const ParsedCommandLine parsed = parse_render_command_line(static_cast<int>(argv.size()), argv.data(), true);
    ASSERT_TRUE(parsed.settings) << parsed.text;
    ASSERT_EQ(run_world(*parsed.settings, stderr), 0);
    const auto from_window = folder_files(saved), from_command = folder_files(run);
    EXPECT_TRUE(from_window.count("godot3/world.tscn"));
    EXPECT_EQ(from_window, from_command);
}

TEST_F(WorldWindowTest, FailuresAreShownAndLoseNothing) {
    WorldWindow* world = open_world();
    ASSERT_NE(world, nullptr);
    world->set_choice(small_world());
    ASSERT_TRUE(drawn(world));
    // A folder that is a file: a message, the world and its options kept.
    const fs::path blocked = scratch_.path() / "blocked";
    std::ofstream(blocked) << "a file";
    QString message, box_title;
    when_modal_opens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box_title = box->windowTitle();
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    world->save_world_in(blocked.string());
    EXPECT_EQ(box_title, "Save world");
    EXPECT_TRUE(message.startsWith("The world was not saved: ")) << message.toStdString();
    EXPECT_EQ(world->status()->text(), message);
    EXPECT_NE(world->shown_world(), nullptr);
    EXPECT_EQ(read_file(blocked), std::vector<std::uint8_t>({'a', ' ', 'f', 'i', 'l', 'e'}));

    // A world too big is refused in the renderer's words, before any drawing.
    WorldChoice big = small_world();
    big.width = big.height = 4096;
    big.iso_width = 200;
    world->set_choice(big);
    QTest::qWait(400);
    EXPECT_FALSE(world->drawing());
    EXPECT_FALSE(world->status()->text().isEmpty());
    EXPECT_EQ(world->choice(), big);
}

TEST_F(WorldWindowTest, CancelStopsTheDrawingAndDropsIt) {
    WorldWindow* world = open_world();
    ASSERT_NE(world, nullptr);
    WorldChoice slow = small_world();
    slow.width = slow.height = 96;
    slow.iso_width = 120;
    slow.variants = 8;
    world->set_choice(slow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return world->drawing(); }, 2000));
    EXPECT_TRUE(world->cancel_button()->isEnabled());
    QTest::mouseClick(world->cancel_button(), Qt::LeftButton);
    EXPECT_FALSE(world->drawing());
    EXPECT_EQ(world->status()->text(), "Stopped.");
    QTest::qWait(200);
    EXPECT_EQ(world->shown_world(), nullptr);
    // The window draws again as soon as an option changes; closed, it stops.
    world->set_choice(small_world());
    EXPECT_TRUE(drawn(world));
    world->set_choice(slow);
    ASSERT_TRUE(QTest::qWaitFor([&] { return world->drawing(); }, 2000));
    world->close();
    EXPECT_FALSE(world->drawing());
}

TEST_F(WorldWindowTest, ThePointerReadsTheCellAndTheWheelZoomsAboutIt) {
    WorldWindow* world = open_world();
    ASSERT_NE(world, nullptr);
    WorldChoice flat = small_world();
    flat.levels = 0;
    world->set_choice(flat);
    ASSERT_TRUE(drawn(world));
    const auto shown = world->shown_world();
    // Cell (3, 2)'s diamond centre: its top corner ((3 - 2 + 7) x 20, (3 + 2) x 10) and half a tile down.
    const auto cell = cell_at_pixel(shown->map, 0, 40, shown->image.height(), 8 * 20, 5 * 10 + 10);
    ASSERT_TRUE(cell);
    EXPECT_EQ(std::pair(cell->x, cell->y), std::pair(3, 2));
    EXPECT_EQ(cell->level, 0);
    EXPECT_FALSE(cell_at_pixel(shown->map, 0, 40, shown->image.height(), 0, 0));  // off the diamond

    WorldPreview* preview = world->preview();
    const QPointF at(preview->width() / 2.0, preview->height() / 2.0);
    const auto under = preview->image_pixel(at);
    ASSERT_TRUE(under);
    const double before = preview->zoom();
    QWheelEvent wheel(at, preview->mapToGlobal(at), {}, QPoint(0, 120 * 4), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(preview, &wheel);
    EXPECT_GT(preview->zoom(), before * 2);
    EXPECT_EQ(preview->image_pixel(at), under);  // the pixel under the pointer stays under it
    QTest::mouseMove(preview, at.toPoint());
    EXPECT_TRUE(world->readout()->text().startsWith("cell ")) << world->readout()->text().toStdString();
}
}  // namespace

namespace {
// On a world of levels, a flat cell reads back from the centre of its
// raised diamond, or a higher cell drawn over it does.
TEST(WorldReadout, ARaisedCellReadsBackFromItsDiamond) {
    WorldRequest request;
    request.width = 24;
    request.height = 20;
    request.levels = 3;
    request.seed = 11;
    const WorldMap map = build_world_map(request, 0, 0, request.width, request.height);
    int highest = 0;
    for (const WorldCorner& c : map.corners) highest = std::max<int>(highest, c.level);
    ASSERT_GT(highest, 0);
    const int w = 40, h = 20;
    const int image_height = (map.width + map.height) * h / 2 + world_level_rise(highest, request.levels, w);
    int raised = 0, read_back = 0;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const int level = map.corner(x, y).level;
            if (map.rise(x, y) != 0 || level == 0) continue;
            const auto cell = cell_at_pixel(map, request.levels, w, image_height, (x - y + map.height) * w / 2,
                                            (x + y) * h / 2 + h / 2 - world_level_rise(level, request.levels, w) +
                                                world_level_rise(highest, request.levels, w));
            ASSERT_TRUE(cell);
            EXPECT_GE(cell->level + (cell->rise ? 1 : 0), level);
            ++raised;
            read_back += std::pair(cell->x, cell->y) == std::pair(x, y);
        }
    EXPECT_GT(raised, 10);
    EXPECT_GT(read_back * 2, raised);  // most: a cliff in front covers some, a wrong rise would miss nearly all
}
}  // namespace
