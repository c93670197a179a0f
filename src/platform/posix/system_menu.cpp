// SPDX-License-Identifier: MIT
#include "src/platform/system_menu.h"

namespace kestrova {

bool platformHasSystemMenu() {
    return false;
}

bool appendSystemMenuItem(std::uintptr_t, std::u16string_view, unsigned) {
    return false;
}

std::optional<unsigned> systemMenuCommand(const void*) {
    return std::nullopt;
}

}  // namespace kestrova
