// SPDX-License-Identifier: MIT
#include "src/ui/curves_plot.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "src/model/curve_edits.h"
#include "src/ui/curves_painter.h"

namespace kestrova {

namespace {

const QString kDragLabel = QStringLiteral("Drag Point");
const QString kMoveLabel = QStringLiteral("Move Point");

}  // namespace

CurvesPlot::CurvesPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(300, 200);
    setAccessibleName(tr("Curves picture"));
    setAccessibleDescription(
        tr("The chosen curves, one point per step; the Points table "
           "lists the same values"));
}

void CurvesPlot::showPage(const PageRecord& page, std::size_t newStep) {
    dragOrigin.reset();
    shown = page;
    step = newStep;
    update();
}

void CurvesPlot::setChosen(const CurveChoice& newChoice) {
    choice = newChoice;
    if (selected && !choice[selected->curve]) {
        selected.reset();
    }
    update();
}

void CurvesPlot::setProfile(const OptionalProfile& newProfile) {
    profile = newProfile;
    update();
}

void CurvesPlot::selectPoint(std::optional<CurvePoint> point) {
    selected = point;
    update();
}

int CurvesPlot::valueOf(const CurvePoint& point) const {
    return readStepLine(shown, point.step)[point.curve];
}

void CurvesPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintCurves(painter, size(), {shown, step, choice, selected, profile});
}

void CurvesPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const CurvesGeometry geometry(size());
    const QPoint at = event->position().toPoint();
    if (const auto point = geometry.pointAt(at, shown, choice)) {
        selectPoint(point);
        dragOrigin = shown;
        describe(point);
    } else if (const auto column = geometry.stepAt(at.x())) {
        emit stepChosen(static_cast<int>(*column));
    }
}

void CurvesPlot::mouseMoveEvent(QMouseEvent* event) {
    if (dragOrigin && selected) {
        drag(event->position().toPoint().y());
    } else {
        hover(event->position().toPoint());
    }
}

void CurvesPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragOrigin) {
        return;
    }
    const PageRecord before = *std::exchange(dragOrigin, std::nullopt);
    if (shown != before) {
        emit pageEdited(shown, kDragLabel);
    }
}

void CurvesPlot::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            return moveSelected(1);
        case Qt::Key_Down:
            return moveSelected(-1);
        case Qt::Key_PageUp:
            return moveSelected(10);
        case Qt::Key_PageDown:
            return moveSelected(-10);
        case Qt::Key_Left:
            return selectNeighbour(-1);
        case Qt::Key_Right:
            return selectNeighbour(1);
        case Qt::Key_Escape:
            if (dragOrigin) {  // the drag taken back: nothing was decided
                showPage(*dragOrigin, step);
                emit previewed(shown);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

void CurvesPlot::hover(QPoint at) {
    describe(CurvesGeometry(size()).pointAt(at, shown, choice));
}

void CurvesPlot::describe(const std::optional<CurvePoint>& point) {
    const QString text =
        point ? pointText(point->curve, point->step, valueOf(*point), profile) : QString();
    setToolTip(text);
    emit hovered(text);
}

void CurvesPlot::drag(int y) {
    const std::size_t curve = selected->curve;
    const int value = CurvesGeometry(size()).valueAt(y, curve);
    const PageRecord moved =
        movePoint(*dragOrigin, curve, selected->step, value, curveRange(curve, profile));
    if (moved != shown) {
        shown = moved;
        update();
        emit previewed(shown);
    }
    describe(selected);
}

void CurvesPlot::selectNeighbour(int by) {
    if (!selected || dragOrigin) {
        return;
    }
    const int next =
        std::clamp(static_cast<int>(selected->step) + by, 0, static_cast<int>(kStepCount) - 1);
    selectPoint(CurvePoint{selected->curve, static_cast<std::size_t>(next)});
    describe(selected);
}

void CurvesPlot::moveSelected(int by) {
    if (!selected || dragOrigin) {
        return;
    }
    const std::size_t curve = selected->curve;
    const PageRecord moved = movePoint(shown, curve, selected->step, valueOf(*selected) + by,
                                       curveRange(curve, profile));
    if (moved != shown) {
        shown = moved;
        update();
        describe(selected);
        emit pageEdited(shown, kMoveLabel);
    }
}

}  // namespace kestrova
