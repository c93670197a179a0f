// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "resources/dialog_template.h"

// Every dialog template, menu and string of the program.
namespace kestrova::res {

extern const DialogTemplate aboutDialog;       // 100
extern const DialogTemplate editorDialog;      // 102
extern const DialogTemplate setupDialog;       // 140
extern const DialogTemplate motorPanelDialog;  // 142
extern const MenuTemplate editorMenu;          // 139

// The string with that number; empty when the table has none.
std::string_view loadString(int id);

}  // namespace kestrova::res
