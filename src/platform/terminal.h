// SPDX-License-Identifier: MIT
#pragma once

namespace kestrova {

// Whether standard error is a terminal, where a running count may be shown.
bool errorsGoToTerminal();

}  // namespace kestrova
