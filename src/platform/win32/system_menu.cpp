// SPDX-License-Identifier: MIT
#include "src/platform/system_menu.h"

#include <windows.h>

#include <string>

namespace kestrova {

bool platformHasSystemMenu() {
    return true;
}

bool appendSystemMenuItem(std::uintptr_t window, std::u16string_view text, unsigned command) {
    HMENU menu = ::GetSystemMenu(reinterpret_cast<HWND>(window), FALSE);
    if (menu == nullptr) {
        return false;
    }
    const std::wstring wide(text.begin(), text.end());  // UTF-16 either way on Windows
    return ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) != 0 &&
           ::AppendMenuW(menu, MF_STRING, command, wide.c_str()) != 0;
}

std::optional<unsigned> systemMenuCommand(const void* nativeMessage) {
    const auto* message = static_cast<const MSG*>(nativeMessage);
    if (message == nullptr || message->message != WM_SYSCOMMAND) {
        return std::nullopt;
    }
    return static_cast<unsigned>(message->wParam);
}

}  // namespace kestrova
