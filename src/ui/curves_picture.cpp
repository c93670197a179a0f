// SPDX-License-Identifier: MIT
#include "src/ui/curves_picture.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>

#if KESTROVA_HAVE_SVG
#include <QSvgGenerator>
#endif

namespace kestrova {

namespace {

bool writePng(QSaveFile& file, QSize size, const CurvesScene& scene) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    paintCurves(painter, size, scene);
    painter.end();
    return image.save(&file, "PNG");
}

#if KESTROVA_HAVE_SVG
bool writeSvg(QSaveFile& file, QSize size, const CurvesScene& scene) {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Curves"));
    QPainter painter(&generator);
    paintCurves(painter, size, scene);
    return painter.end();
}
#endif

}  // namespace

bool svgPicturesAvailable() {
    return KESTROVA_HAVE_SVG != 0;
}

bool writeCurvesPicture(const QString& path, QSize size, const CurvesScene& scene) {
    const bool svg = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    QSaveFile file(path);
    // Without an SVG writer an SVG name is refused: PNG bytes in it would open nowhere.
    if ((svg && !svgPicturesAvailable()) || !file.open(QIODevice::WriteOnly)) {
        return false;
    }
#if KESTROVA_HAVE_SVG
    const bool written = svg ? writeSvg(file, size, scene) : writePng(file, size, scene);
#else
    const bool written = writePng(file, size, scene);
#endif
    return written && file.commit();
}

}  // namespace kestrova
