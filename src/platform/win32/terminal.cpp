// SPDX-License-Identifier: MIT
#include "src/platform/terminal.h"

#include <io.h>

#include <cstdio>

namespace kestrova {

bool errorsGoToTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

}  // namespace kestrova
