// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrova {

using Deadline = std::chrono::steady_clock::time_point;

// A serial device or a stream socket, both non-blocking.
enum class DeviceKind { SerialDevice, Socket };

struct ReadResult {
    std::size_t count = 0;
    bool gone = false;  // end of file or a device error: nothing more will ever arrive
};

// Takes only what is already queued, at most buffer.size() bytes; never waits.
ReadResult readQueued(int fd, std::span<std::uint8_t> buffer);

// Sends all bytes, waiting for room until the deadline, then (serial devices) until the
// device's output queue is empty. False when not every byte is out by then or on an error.
bool writeWhole(int fd, DeviceKind kind, std::span<const std::uint8_t> bytes,
                std::uint32_t baudRate, Deadline deadline);

}  // namespace kestrova
