#include "gui_fixture.hpp"

#include "state/control_ids.hpp"
#include "canvas/bmp_writer.hpp"
#include "../support/test_files.hpp"

#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class OutputWindowTest : public WindowTest {
protected:
    void click(int number) { QTest::mouseClick(widget<QPushButton>(number), Qt::LeftButton); }
    // Closes the next message box with OK and remembers what it said.
    void answer_message(QString& title, QString& text) {
        when_modal_opens([&title, &text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
    }
    TempCurrentDir temp_{"brannoc-gui-"};
    const fs::path& dir_ = temp_.path();
};
}  // namespace

TEST_F(OutputWindowTest, SaveImageWritesTheTileAndSaysSo) {
    QString title, text;
    answer_message(title, text);
    click(ctl::save_image_button);
    EXPECT_EQ(title, "Save current tile");
    EXPECT_EQ(text, "Saved TileHouse1.bmp");
    EXPECT_EQ(read_file("TileHouse1.bmp"), bmp_file_bytes(app->state().canvas));
}

TEST_F(OutputWindowTest, CopyImagePutsTheTileOnTheClipboard) {
    QTest::keyClick(window.get(), Qt::Key_R);
    click(ctl::copy_image_button);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    const QByteArray bmp = data->data("image/bmp");
    const auto expected = bmp_file_bytes(app->state().canvas);
    ASSERT_EQ(bmp.size(), static_cast<qsizetype>(expected.size()));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reinterpret_cast<const std::uint8_t*>(bmp.data())));
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(260, 260));
}

TEST_F(OutputWindowTest, TilesCreationAsksForANameAndSavesTheSheet) {
    auto* panel = widget<QTabWidget>(ctl::panel);
    panel->setCurrentIndex(tab_water);
    QTest::keyClick(window.get(), Qt::Key_R);

    QString dialog_title, initial_name, filter, message_title, message_text;
    bool disabled_while_asking = false;
    when_modal_opens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog_title = dialog->windowTitle();
        filter = dialog->nameFilters().join(";");
        if (auto* name = dialog->findChild<QLineEdit*>()) initial_name = name->text();
        disabled_while_asking = !widget<QPushButton>(ctl::draw_random_button)->isEnabled();
        answer_message(message_title, message_text);
        dialog->selectFile((dir_ / "my set").c_str());
        static_cast<QDialog*>(dialog)->accept();
    });
    click(ctl::tiles_creation_button);

    EXPECT_EQ(dialog_title, "Save tile set");
    EXPECT_EQ(initial_name, "Water");
    EXPECT_EQ(filter, "Bitmap (*.bmp)");
    EXPECT_TRUE(disabled_while_asking);
    EXPECT_EQ(message_title, "Creation tiles");
    EXPECT_EQ(message_text.toStdString(), "Saved " + (dir_ / "my set.bmp").string());
    EXPECT_EQ(read_file(dir_ / "my set.bmp"), bmp_file_bytes(app->state().tile_set_image));
    EXPECT_TRUE(widget<QPushButton>(ctl::draw_random_button)->isEnabled());
    EXPECT_EQ(widget<QProgressBar>(ctl::progress_bar)->value(), 0);
}

TEST_F(OutputWindowTest, CancellingTheTileSetDialogWritesNothing) {
    when_modal_opens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    click(ctl::tiles_creation_button);
    EXPECT_TRUE(fs::is_empty(dir_));
    EXPECT_TRUE(widget<QPushButton>(ctl::tiles_creation_button)->isEnabled());
    EXPECT_TRUE(widget<QTabWidget>(ctl::panel)->tabBar()->isEnabled());
    EXPECT_EQ(widget<QProgressBar>(ctl::progress_bar)->value(), 0);
}

TEST_F(OutputWindowTest, SaveImageGoesPastFilesOfEarlierRunsInABoxThatShowsItsTitle) {
    std::ofstream("TileHouse1.bmp") << "yesterday";
    int box_width = 0;
    QString title, text;
    when_modal_opens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        box_width = box->width();
        box->button(QMessageBox::Ok)->click();
    });
    click(ctl::save_image_button);
    EXPECT_EQ(text, "Saved TileHouse2.bmp");
    EXPECT_EQ(read_file("TileHouse1.bmp").size(), 9u);
    // Room for the title in a window manager's bold title font and three buttons.
    QFont bar_font = QApplication::font();
    bar_font.setBold(true);
    bar_font.setPixelSize(14);
    EXPECT_GE(box_width, QFontMetrics(bar_font).horizontalAdvance(title) + 60);
}

TEST_F(OutputWindowTest, TheTileSetDialogAsksBeforeReplacingAFile) {
    std::ofstream(dir_ / "old.bmp") << "keep";
    app->controls().write(ctl::iso_width, 16);
    for (const bool replace : {false, true}) {
        QString question, title, text;
        bool still_open = false;
        when_modal_opens([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            when_modal_opens([&, dialog](QWidget* asked) {
                auto* box = qobject_cast<QMessageBox*>(asked);
                ASSERT_NE(box, nullptr);
                question = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                if (replace) {
                    answer_message(title, text);
                } else {
                    QTimer::singleShot(0, [&, dialog] {  // once the question has closed
                        still_open = dialog->isVisible();
                        dialog->reject();
                    });
                }
            });
            dialog->selectFile("old");  // written as old.bmp, which exists
            static_cast<QDialog*>(dialog)->accept();
        });
        click(ctl::tiles_creation_button);
        EXPECT_TRUE(question.startsWith("old.bmp already exists")) << question.toStdString();
        EXPECT_EQ(still_open, !replace);
        EXPECT_EQ(read_file(dir_ / "old.bmp").size(), replace ? 3600054u : 4u);
        EXPECT_EQ(text, replace ? "Saved " + QString::fromStdString((dir_ / "old.bmp").string()) : "");
    }
}
