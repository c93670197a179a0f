// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

#include "src/serial/port_connection.h"

namespace kestrova {

// Takes only what is already queued, at most buffer.size() bytes; never waits.
ReadResult readQueued(int fd, std::span<std::uint8_t> buffer);

// Sends all bytes, waiting for room until the deadline (sockets without SIGPIPE). 0 when all
// were accepted, else the errno value (ETIMEDOUT for the deadline).
int sendAll(int fd, bool socket, std::span<const std::uint8_t> bytes, Deadline deadline);

// Waits until the output queue is empty: a UART's bytes are on the line, a TCP stream's bytes
// are acknowledged by the peer (Linux counts unsent and unacknowledged bytes alike). 0 when it
// emptied, ETIMEDOUT when the deadline came first.
int waitOutputSent(int fd, std::uint32_t baudRate, Deadline deadline);

}  // namespace kestrova
