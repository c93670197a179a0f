// SPDX-License-Identifier: MIT
// The string table: the About item's text and the motor labels (kept with the page record, which
// robot profiles share).
#include <array>

#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "src/model/motor_labels.h"

namespace kestrova::res {

namespace {

constexpr std::string_view kAboutItem = "Tandrel 정보(&A)...";

}  // namespace

std::string_view loadString(int stringId) {
    if (stringId == id::kAboutText) {
        return kAboutItem;
    }
    const int motor = stringId - id::kMotorLabel0;
    if (motor >= 0 && motor < static_cast<int>(kMotorLabels.size())) {
        return kMotorLabels[static_cast<std::size_t>(motor)];
    }
    return {};
}

}  // namespace kestrova::res
