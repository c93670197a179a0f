// SPDX-License-Identifier: MIT
#include "src/platform/terminal.h"

#include <io.h>
#include <windows.h>

#include <cstdio>

namespace kestrova {

bool errorsGoToTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

// A GUI-subsystem program has no standard output unless the caller redirected it.
void attachToParentConsole() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        return;
    }
    FILE* reopened = nullptr;
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        ::freopen_s(&reopened, "CONOUT$", "w", stdout);
    }
}

}  // namespace kestrova
