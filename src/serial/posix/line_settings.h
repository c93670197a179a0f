// SPDX-License-Identifier: MIT
#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

#include "src/serial/port_settings.h"

namespace kestrova {

// The termios constant for a speed in bits per second; none for speeds without one (14400
// and 56000 among the offered table), which applyLineSettings sets where the system allows.
std::optional<speed_t> speedConstant(std::uint32_t baudRate);

// Raw mode with the record's speed, data bits, parity, stop bits and flow control. Parity and
// stop-bit codes are those of the record (parity 0 none, 1 odd, 2 even; stop bits 0 one,
// 2 two). DTR/DSR handshaking has no termios equivalent and is not applied: DTR simply stays
// raised. Returns false when the device refuses or a value has no equivalent.
bool applyLineSettings(int fd, const PortSettings& settings);

// DTR and RTS up while the port is open. Devices without modem lines (pseudo-terminals) refuse
// this, which is no error.
void raiseModemLines(int fd);

// DTR first, then RTS, as a closing port drops them.
void dropModemLines(int fd);

}  // namespace kestrova
