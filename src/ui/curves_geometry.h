// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>
#include <optional>

#include "src/model/page_record.h"
#include "src/model/step_line.h"

namespace kestrova {

// Which curves are drawn: one flag per entry of a StepLine (M1..M22, ACC, Rate).
using CurveChoice = std::array<bool, kStepLineSize>;

// One point of one curve.
struct CurvePoint {
    std::size_t curve;
    std::size_t step;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// Where steps and values go in a picture of a given size: the steps evenly spaced across the
// plot, values rising from its bottom edge (0) to its top edge (the curve's scale: 200 for
// positions and Rate, 50 for ACC). The margins hold the axes' numbers.
class CurvesGeometry {
  public:
    static constexpr int kLeft = 40;
    static constexpr int kRight = 40;
    static constexpr int kTop = 10;
    static constexpr int kBottom = 30;
    static constexpr int kHitRadius = 6;

    explicit CurvesGeometry(QSize size);

    QRect plot() const { return area; }
    int stepX(std::size_t step) const;
    int columnWidth() const { return area.width() / static_cast<int>(kStepCount - 1); }
    int valueY(int value, std::size_t curve) const;

    // The value a point of `curve` dragged to height y stands for, rounded, not clamped.
    int valueAt(int y, std::size_t curve) const;
    // The step whose column holds x: within half a column of its x; nullopt beside the plot.
    std::optional<std::size_t> stepAt(int x) const;
    // The chosen curve's point within kHitRadius of `at`, the one drawn last (on top) first.
    std::optional<CurvePoint> pointAt(QPoint at, const PageRecord& page,
                                      const CurveChoice& chosen) const;

  private:
    QRect area;
};

}  // namespace kestrova
