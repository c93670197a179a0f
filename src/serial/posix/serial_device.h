// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "src/serial/port_settings.h"
#include "src/serial/posix/opened_fd.h"

namespace kestrova {

// Opens a serial device exclusively (flock, which also stops root, plus TIOCEXCL), non-blocking,
// in raw mode with the record's line settings, both queues purged and DTR/RTS raised. No
// descriptor when the device is missing, in use or refuses the settings.
OpenedFd openSerialDevice(const std::string& path, const PortSettings& settings);

// Drops DTR then RTS, purges both queues and lifts the exclusive mode, so that the next open
// by anyone succeeds. The caller closes the descriptor afterwards.
void releaseSerialDevice(int fd);

}  // namespace kestrova
