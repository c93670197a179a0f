// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// The native system menu of a top-level window. Only Windows gives programs one; elsewhere
// the window offers the same items in its own menus.
bool platformHasSystemMenu();

// Appends a separator and an item with `command` to the system menu of the native window
// `window`. False where there is no such menu.
bool appendSystemMenuItem(std::uintptr_t window, std::u16string_view text, unsigned command);

// The command of a native "system menu command" message, nothing for any other message.
std::optional<unsigned> systemMenuCommand(const void* nativeMessage);

}  // namespace kestrova
