// SPDX-License-Identifier: MIT
#include "src/platform/terminal.h"

#include <unistd.h>

namespace kestrova {

bool errorsGoToTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void attachToParentConsole() {}

}  // namespace kestrova
