// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <cstddef>
#include <optional>

#include "src/model/curve_edits.h"
#include "src/model/page_record.h"
#include "src/profile/robot_profile.h"

namespace kestrova {

// The robot profile open in the editor, if any: its motors' names, groups and soft limits.
// Without one, motors go by their labels ("M5(PB4)") and take 0..200.
using OptionalProfile = std::optional<RobotProfile>;

// "M5(PB4)", "M5(PB4) left elbow", "ACC" or "Rate".
QString curveLabel(std::size_t curve, const OptionalProfile& profile);
// "M5(PB4) left elbow, step 3: 120".
QString pointText(std::size_t curve, std::size_t step, int value, const OptionalProfile& profile);
// The profile's soft limits of a motor, else fullRange.
ValueRange curveRange(std::size_t curve, const OptionalProfile& profile);
// Each curve's own colour, neighbours far apart in hue.
QColor curveColour(std::size_t curve);

}  // namespace kestrova
