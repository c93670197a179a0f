// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kestrova {

// Sets a line speed that has no termios constant (14400 and 56000 baud are offered to the
// user). Linux takes any speed through termios2; elsewhere this fails. False on failure.
bool setCustomSpeed(int fd, std::uint32_t baudRate);

}  // namespace kestrova
