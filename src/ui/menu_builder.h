// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "resources/dialog_template.h"

class QMenuBar;
class QWidget;

namespace kestrova {

// A menu bar from a menu template; choosing an item calls `onCommand` with its command
// number. Each action carries the property "command", the object name "command<number>" and
// the item's shortcuts.
QMenuBar* buildMenuBar(const res::MenuTemplate& menu, QWidget* parent,
                       const std::function<void(int)>& onCommand);

}  // namespace kestrova
