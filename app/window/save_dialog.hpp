#pragma once
#include <QFileDialog>

// The window's save-file dialog. The commands add the filter's extension to
// a chosen name that does not end with it exactly, so the dialog asks about
// replacing that final name, before it closes; the user can then pick
// another name in the same dialog.
class SaveDialog final : public QFileDialog {
    Q_OBJECT

public:
    SaveDialog(QWidget* parent, const QString& title, const QString& folder, const QString& filter_text,
               const QString& pattern);

    // The name the commands will write for a chosen one: with the
    // pattern's extension added unless it already ends with it.
    static QString final_name(const QString& chosen, const QString& pattern);

    void accept() override;

private:
    QString pattern_;
};
