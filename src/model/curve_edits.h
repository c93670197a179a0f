// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "src/model/page_record.h"
#include "src/model/step_line.h"

// Edits made on a page seen as curves: one curve per entry of a StepLine (M1..M22, ACC, Rate),
// one point per step. Each returns the edited page.
namespace kestrova {

// The values a curve's points may take, both ends included.
struct ValueRange {
    std::uint8_t low = 0;
    std::uint8_t high = kMaxPosition;

    bool contains(int value) const { return value >= low && value <= high; }
    std::uint8_t clamp(int value) const;
    friend bool operator==(const ValueRange&, const ValueRange&) = default;
};

// What the window's own controls allow: a position 0..200, ACC 0..50, Rate 0..200.
ValueRange fullRange(std::size_t curve);

// The point of `curve` at `step` set to `value`, clamped into `range`.
PageRecord movePoint(PageRecord page, std::size_t curve, std::size_t step, int value,
                     ValueRange range);

// The steps strictly between `first` and `last` (either order) of each curve set on the
// straight line between its two points, rounded to the nearest whole value with halves
// rounded up, so that the line from A to B and the one from B to A are the same.
PageRecord interpolate(PageRecord page, std::span<const std::size_t> curves, std::size_t first,
                       std::size_t last);

}  // namespace kestrova
