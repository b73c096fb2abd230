#pragma once
#include "choosers/texture_chooser.hpp"

#include <QDialog>

class QPushButton;

// A texture chooser as a small modal window: the grid the chooser draws, a
// left-button release forwarded as a click, "Ok" and the close box both
// ending it.
class ChooserWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ChooserWindow(TextureChooser& chooser, QWidget* over = nullptr);

    QPushButton* ok_button() const { return ok_; }
    // The client area holding the grid; clicks are read relative to it.
    QWidget* grid() const { return grid_; }

private:
    QWidget* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
};
