// SPDX-License-Identifier: MIT
#include "src/ui/file_dialogs.h"

#include <QFile>
#include <QFileDialog>

namespace kestrova {

namespace {

std::optional<std::filesystem::path> choosePath(
    QFileDialog::AcceptMode mode,
    const QString& filter = QStringLiteral("Kestrova Page File (*.kpf)"),
    const QString& suffix = QStringLiteral("kpf")) {
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(mode);
    // Any name, also in the open dialog: a missing file is the load's to report, as "can't
    // load file!", like any other file that cannot be read.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().first()).toStdString());
}

}  // namespace

std::optional<std::filesystem::path> QtPageFileDialogs::chooseSavePath() {
    return choosePath(QFileDialog::AcceptSave);
}

std::optional<std::filesystem::path> QtPageFileDialogs::chooseOpenPath() {
    return choosePath(QFileDialog::AcceptOpen);
}

std::optional<std::filesystem::path> QtPageFileDialogs::chooseProfilePath(bool save) {
    return choosePath(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                      QStringLiteral("Robot Profile (*.kprofile.json)"),
                      QStringLiteral("kprofile.json"));
}

}  // namespace kestrova
