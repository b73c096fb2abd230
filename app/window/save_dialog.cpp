#include "app/window/save_dialog.hpp"

#include <QFileInfo>
#include <QMessageBox>

SaveDialog::SaveDialog(QWidget* parent, const QString& title, const QString& folder, const QString& filter_text,
                       const QString& pattern)
    : QFileDialog(parent, title, folder, filter_text),
      pattern_(pattern) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // Qt's own question would be about the name as typed, not the one written;
    // and a native dialog would not let accept() ask at all.
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setOption(QFileDialog::DontUseNativeDialog, true);
}

QString SaveDialog::final_name(const QString& chosen, const QString& pattern) {
    const QString extension = pattern.startsWith('*') ? pattern.mid(1) : pattern;
    return chosen.endsWith(extension, Qt::CaseSensitive) ? chosen : chosen + extension;
}

void SaveDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || QFileInfo(chosen.first()).isDir()) {
        QFileDialog::accept();  // nothing to ask: Qt opens a folder or refuses
        return;
    }
    const QFileInfo target(final_name(chosen.first(), pattern_));
    if (target.exists() || target.isSymLink()) {
        const auto answer = QMessageBox::question(
            this, windowTitle(), tr("%1 already exists.\nDo you want to replace it?").arg(target.fileName()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return;  // the dialog stays open for another name
    }
    QFileDialog::accept();
}
