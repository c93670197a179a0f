// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "resources/dialog_template.h"

namespace kestrova::res {

inline constexpr int kMotorPanelTemplateId = 142;
inline constexpr int kMotorPanelLabelId = 1059;
inline constexpr int kMotorPanelTrackbarId = 1058;

// String resources 102 + motor index hold the motor labels.
inline constexpr int kFirstMotorLabelString = 102;
inline constexpr int kLastMotorLabelString = 123;

// The child dialog of one motor: its label above its trackbar.
extern const DialogTemplate kMotorPanelTemplate;

// The text of string resource `id` among the motor labels; empty for any other id.
std::string_view motorLabelString(int id);

}  // namespace kestrova::res
