// SPDX-License-Identifier: MIT
#include "src/ui/picture_paths.h"

#include <QFileDialog>

#include "src/ui/curves_picture.h"

namespace kestrova {

std::optional<QString> QtPicturePaths::choosePicturePath(QWidget* parent) {
    const QString png = QFileDialog::tr("PNG picture (*.png)");
    const QString svg = QFileDialog::tr("SVG picture (*.svg)");
    const bool withSvg = svgPicturesAvailable();
    QFileDialog dialog(parent, withSvg ? QFileDialog::tr("Save Picture")
                                       : QFileDialog::tr("Save Picture (PNG only: this build "
                                                         "has no SVG writer)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(withSvg ? QStringList{png, svg} : QStringList{png});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, svg](const QString& filter) {
            dialog.setDefaultSuffix(filter == svg ? QStringLiteral("svg") : QStringLiteral("png"));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace kestrova
