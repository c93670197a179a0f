// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>

#include "src/serial/port_settings.h"

namespace kestrova {

// Device queue sizes requested at open.
inline constexpr DWORD kDeviceQueueSize = 4096;
// The watcher's read returns once bytes have arrived and the line has paused this long.
inline constexpr DWORD kReadPauseMs = 20;

// The device control block for the record: its speed, data bits, parity and stop-bit codes as
// they stand, binary mode, and DTR/DSR, RTS/CTS and XON/XOFF handshaking from the flow bits
// (DTR and RTS held raised when their handshake is off). Other fields keep `current`.
DCB dcbFor(DCB current, const PortSettings& settings);

// Reads wait for the first byte without limit and end at a pause; a write may take its time on
// the line plus the grace of every write.
COMMTIMEOUTS commTimeoutsFor(std::uint32_t baudRate);

}  // namespace kestrova
