// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "src/serial/port_devices.h"
#include "src/serial/port_settings.h"
#include "src/serial/write_time_limit.h"

namespace kestrova {

struct ReadResult {
    std::size_t count = 0;
    bool gone = false;  // end of stream or a device error: nothing more will ever arrive
};

struct WriteResult {
    bool ok = true;
    std::string reason;  // the system's reason when not ok
};

// One open device of the platform: a serial line or a network stream. CComm's watcher reads,
// the owner's thread writes; both may run at once.
class PortConnection {
  public:
    virtual ~PortConnection() = default;  // closes the device

    // Watcher: waits without limit for input, wake() or the device going away, then reads what
    // has arrived. A count of 0 that is not gone means woken.
    virtual ReadResult waitAndRead(std::span<std::uint8_t> buffer) = 0;

    // Watcher: takes only what is already queued; never waits.
    virtual ReadResult readQueued(std::span<std::uint8_t> buffer) = 0;

    // Owner: sends every byte and waits until they are out, at the latest by the deadline. A
    // failed write leaves no rest behind that could follow later: a serial line discards it, a
    // network stream is shut down for good.
    virtual WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) = 0;

    // Any thread: cuts the watcher's wait short, now or at its next wait.
    virtual void wake() = 0;

    // Owner, once the watcher has ended: drops DTR then RTS and purges both queues.
    virtual void release() = 0;
};

struct OpenedPort {
    std::unique_ptr<PortConnection> connection;  // none when the open failed
    std::string reason;                          // why, with a hint where one helps
};

// Opens the device exclusively with the record's line settings (serial devices) or connects
// (network streams); the device is never Invalid. Implemented once per platform.
OpenedPort openPortConnection(const PortDevice& device, const PortSettings& settings);

}  // namespace kestrova
