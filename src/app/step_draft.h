// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>

#include "src/model/step_line.h"

namespace kestrova {

// The step fields: 22 positions, ACC and Rate in StepLine order, each unset until Get Step,
// step Reset, a slider or an arrow key gives it a value. A value may lie outside the byte
// range; only its low byte is stored or sent.
using StepDraft = std::array<std::optional<int>, kStepLineSize>;

// A field as a number: 0 when unset or negative.
inline unsigned draftNumber(const std::optional<int>& value) {
    return value && *value > 0 ? static_cast<unsigned>(*value) : 0U;
}

}  // namespace kestrova
