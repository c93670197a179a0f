// SPDX-License-Identifier: MIT
#include "src/model/curve_edits.h"

#include <algorithm>
#include <utility>

#include "src/model/step_edits.h"

namespace kestrova {

std::uint8_t ValueRange::clamp(int value) const {
    return static_cast<std::uint8_t>(std::clamp<int>(value, low, high));
}

ValueRange fullRange(std::size_t curve) {
    return {0, stepLineLimit(curve)};
}

PageRecord movePoint(PageRecord page, std::size_t curve, std::size_t step, int value,
                     ValueRange range) {
    return setStepValue(page, step, curve, range.clamp(value));
}

namespace {

// round(a + (b - a) * k / n) with halves up, in whole numbers: the result lies between a and
// b, so the numerator never goes below zero.
std::uint8_t pointOnLine(int a, int b, int k, int n) {
    return static_cast<std::uint8_t>((2 * a * n + 2 * (b - a) * k + n) / (2 * n));
}

}  // namespace

PageRecord interpolate(PageRecord page, std::span<const std::size_t> curves, std::size_t first,
                       std::size_t last) {
    if (first > last) {
        std::swap(first, last);
    }
    if (last >= kStepCount || last - first < 2) {
        return page;
    }
    const int n = static_cast<int>(last - first);
    const StepLine from = readStepLine(page, first);
    const StepLine to = readStepLine(page, last);
    for (std::size_t step = first + 1; step < last; ++step) {
        StepLine line = readStepLine(page, step);
        for (const std::size_t curve : curves) {
            if (curve < kStepLineSize) {
                line[curve] =
                    pointOnLine(from[curve], to[curve], static_cast<int>(step - first), n);
            }
        }
        writeStepLine(page, step, line);
    }
    return page;
}

}  // namespace kestrova
