// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>

class QWidget;

namespace kestrova {

// The areas the window paints white itself (the motor area, the step table) keep a light
// palette, with their children, under a dark desktop theme, so that their text stays dark on
// light. Under a light palette they are left as they are.
void keepLightColours(std::initializer_list<QWidget*> areas);

}  // namespace kestrova
