// SPDX-License-Identifier: MIT
#include "src/ui/curves_geometry.h"

#include <cmath>

namespace kestrova {

CurvesGeometry::CurvesGeometry(QSize size)
    : area(kLeft, kTop, size.width() - kLeft - kRight, size.height() - kTop - kBottom) {}

int CurvesGeometry::stepX(std::size_t step) const {
    return area.left() + static_cast<int>(step) * area.width() / static_cast<int>(kStepCount - 1);
}

int CurvesGeometry::valueY(int value, std::size_t curve) const {
    const int scale = stepLineLimit(curve);
    return area.top() + (scale - value) * area.height() / scale;
}

int CurvesGeometry::valueAt(int y, std::size_t curve) const {
    if (area.height() <= 0) {
        return 0;
    }
    const double scale = stepLineLimit(curve);
    return static_cast<int>(std::lround(scale - (y - area.top()) * scale / area.height()));
}

std::optional<std::size_t> CurvesGeometry::stepAt(int x) const {
    const int half = columnWidth() / 2;
    if (columnWidth() <= 0 || x < area.left() - half || x > area.left() + area.width() + half) {
        return std::nullopt;
    }
    const double column = static_cast<double>(x - area.left()) * (kStepCount - 1) / area.width();
    const auto step = static_cast<std::size_t>(std::lround(std::max(0.0, column)));
    return std::min(step, kStepCount - 1);
}

std::optional<CurvePoint> CurvesGeometry::pointAt(QPoint at, const PageRecord& page,
                                                  const CurveChoice& chosen) const {
    const auto step = stepAt(at.x());
    if (!step || std::abs(at.x() - stepX(*step)) > kHitRadius) {
        return std::nullopt;
    }
    const StepLine line = readStepLine(page, *step);
    for (std::size_t curve = kStepLineSize; curve-- > 0;) {
        if (chosen[curve] && std::abs(at.y() - valueY(line[curve], curve)) <= kHitRadius) {
            return CurvePoint{curve, *step};
        }
    }
    return std::nullopt;
}

}  // namespace kestrova
