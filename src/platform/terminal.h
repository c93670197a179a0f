// SPDX-License-Identifier: MIT
#pragma once

namespace kestrova {

// Whether standard error is a terminal, where a running count may be shown.
bool errorsGoToTerminal();

// Lets a windowed program's standard output reach the console it was started from, when it
// has none of its own; where every program has one, there is nothing to do.
void attachToParentConsole();

}  // namespace kestrova
