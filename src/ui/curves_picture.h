// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QString>

#include "src/ui/curves_painter.h"

namespace kestrova {

// Whether this build writes SVG: Qt Svg is optional (the Windows build has none).
bool svgPicturesAvailable();

// The scene as a `size` picture at `path`: SVG when the name ends in ".svg" and SVG is
// available, else PNG. Written under a temporary name and renamed, so a failure leaves what
// was there; false when it could not be written.
bool writeCurvesPicture(const QString& path, QSize size, const CurvesScene& scene);

}  // namespace kestrova
