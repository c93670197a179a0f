// SPDX-License-Identifier: MIT
#include "tools/board/terminal.h"

#include <unistd.h>

namespace kestrova::board {

bool errorsGoToTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace kestrova::board
