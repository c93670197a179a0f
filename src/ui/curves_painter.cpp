// SPDX-License-Identifier: MIT
#include "src/ui/curves_painter.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr QColor kFaded{235, 235, 235};
constexpr QColor kStepBand{255, 238, 170};
constexpr QColor kOutsideLimits{255, 215, 215};
constexpr QColor kGrid{205, 205, 205};
constexpr QColor kAlarm{255, 0, 0};
constexpr QColor kEnableLine{255, 0, 0};
constexpr int kPointRadius = 3;
constexpr int kFadedInk = 1;  // thirds of a faded curve's own colour
constexpr std::array kGridValues{0, 50, 100, 150, 200};
constexpr std::size_t kMotorScale = 0;  // any motor: positions share one scale

void paintBands(QPainter& painter, const CurvesGeometry& geometry, const CurvesScene& scene) {
    const QRect plot = geometry.plot();
    const int half = geometry.columnWidth() / 2;
    if (scene.page.enableStep < kStepCount - 1) {
        const int x = geometry.stepX(scene.page.enableStep) + half;
        const int end = geometry.stepX(kStepCount - 1) + half;
        painter.fillRect(QRect(x, plot.top(), end - x, plot.height()), kFaded);
    }
    if (scene.step < kStepCount) {
        const int x = geometry.stepX(scene.step);
        painter.fillRect(QRect(x - half / 2, plot.top(), half, plot.height()), kStepBand);
    }
}

// Shaded above and below a motor's soft limits when it is the only curve chosen.
void paintLimits(QPainter& painter, const CurvesGeometry& geometry, const CurvesScene& scene) {
    if (std::count(scene.chosen.begin(), scene.chosen.end(), true) != 1) {
        return;
    }
    const auto curve = static_cast<std::size_t>(
        std::find(scene.chosen.begin(), scene.chosen.end(), true) - scene.chosen.begin());
    const ValueRange range = curveRange(curve, scene.profile);
    const QRect plot = geometry.plot();
    const int high = geometry.valueY(range.high, curve);
    const int low = geometry.valueY(range.low, curve);
    const int bottom = plot.top() + plot.height();
    painter.fillRect(QRect(plot.left(), plot.top(), plot.width(), high - plot.top()),
                     kOutsideLimits);
    painter.fillRect(QRect(plot.left(), low, plot.width(), bottom - low), kOutsideLimits);
}

void paintAxes(QPainter& painter, const CurvesGeometry& geometry, const CurvesScene& scene) {
    const QRect plot = geometry.plot();
    const int textHeight = painter.fontMetrics().height();
    const int right = geometry.stepX(kStepCount - 1);
    painter.setPen(kGrid);
    for (const int value : kGridValues) {
        const int y = geometry.valueY(value, kMotorScale);
        painter.drawLine(plot.left(), y, right, y);
    }
    for (std::size_t step = 0; step < kStepCount; ++step) {
        const int x = geometry.stepX(step);
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
    painter.setPen(Qt::black);
    for (const int value : kGridValues) {
        const QRect box(0, geometry.valueY(value, kMotorScale) - textHeight / 2,
                        CurvesGeometry::kLeft - 4, textHeight);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
        if (scene.chosen[kAccIndex] && value % 100 == 0) {  // 0, 25 and 50: whole numbers
            const QRect accBox(right + 4, box.top(), CurvesGeometry::kRight - 4, textHeight);
            painter.drawText(accBox, Qt::AlignLeft | Qt::AlignVCenter,
                             QString::number(value * kMaxAcc / kMaxPosition));
        }
    }
    const int half = geometry.columnWidth() / 2;
    for (std::size_t step = 0; step < kStepCount; ++step) {
        const QRect box(geometry.stepX(step) - half, plot.bottom() + 4, 2 * half, textHeight);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(step));
    }
    if (scene.page.enableStep < kStepCount) {
        painter.setPen(QPen(kEnableLine, 1, Qt::DashLine));
        const int x = geometry.stepX(scene.page.enableStep) + half;
        painter.drawLine(x, plot.top(), x, plot.bottom());
    }
}

// A third of the colour over the faded background, opaque: translucent antialiased lines
// take ten times as long to draw.
QColor faded(QColor colour, bool fade) {
    if (!fade) {
        return colour;
    }
    const auto mix = [](int ink, int paper) {
        return (ink * kFadedInk + paper * (3 - kFadedInk)) / 3;
    };
    return {mix(colour.red(), kFaded.red()), mix(colour.green(), kFaded.green()),
            mix(colour.blue(), kFaded.blue())};
}

void paintCurve(QPainter& painter, const CurvesGeometry& geometry, const CurvesScene& scene,
                std::size_t curve) {
    std::array<QPoint, kStepCount> points{};
    std::array<int, kStepCount> values{};
    for (std::size_t step = 0; step < kStepCount; ++step) {
        values[step] = readStepLine(scene.page, step)[curve];
        points[step] = {geometry.stepX(step), geometry.valueY(values[step], curve)};
    }
    // Steps after Enable Step faded. Lines one by one and points without antialiasing: a
    // polyline's joins and round points cost several times as much to draw.
    const QColor colour = curveColour(curve);
    for (std::size_t step = 1; step < kStepCount; ++step) {
        painter.setPen(QPen(faded(colour, step > scene.page.enableStep), 2));
        painter.drawLine(points[step - 1], points[step]);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (std::size_t step = 0; step < kStepCount; ++step) {
        painter.setBrush(faded(colour, step > scene.page.enableStep));
        painter.drawEllipse(points[step], kPointRadius, kPointRadius);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const ValueRange range = curveRange(curve, scene.profile);
    painter.setPen(QPen(kAlarm, 2));
    painter.setBrush(Qt::NoBrush);
    for (std::size_t step = 0; step < kStepCount; ++step) {
        if (!range.contains(values[step])) {
            painter.drawEllipse(points[step], kPointRadius + 2, kPointRadius + 2);
        }
    }
}

void paintSelection(QPainter& painter, const CurvesGeometry& geometry, const CurvesScene& scene) {
    if (!scene.selected || !scene.chosen[scene.selected->curve]) {
        return;
    }
    const auto [curve, step] = *scene.selected;
    const QPoint at(geometry.stepX(step),
                    geometry.valueY(readStepLine(scene.page, step)[curve], curve));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, CurvesGeometry::kHitRadius, CurvesGeometry::kHitRadius);
}

}  // namespace

void paintCurves(QPainter& painter, QSize size, const CurvesScene& scene) {
    const CurvesGeometry geometry(size);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    paintBands(painter, geometry, scene);
    paintLimits(painter, geometry, scene);
    paintAxes(painter, geometry, scene);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t curve = 0; curve < kStepLineSize; ++curve) {
        if (scene.chosen[curve]) {
            paintCurve(painter, geometry, scene, curve);
        }
    }
    paintSelection(painter, geometry, scene);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace kestrova
