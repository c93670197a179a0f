// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>

#include "serial/port_connection.h"
#include "serial/unique_fd.h"
#include "serial/wake_pipe.h"

namespace kestrova {

// A serial device or a TCP stream, both non-blocking descriptors; the watcher sleeps in poll
// on the descriptor and a self-pipe.
class FdConnection : public PortConnection {
  public:
    enum class Kind { SerialDevice, Socket };

    FdConnection(UniqueFd fd, Kind kind, std::uint32_t baudRate);

    bool valid() const { return fd_.valid() && wake_.valid(); }

    ReadResult waitAndRead(std::span<std::uint8_t> buffer) override;
    ReadResult readQueued(std::span<std::uint8_t> buffer) override;
    WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    void wake() override;
    void release() override;

  private:
    void discardUnsent();

    UniqueFd fd_;
    Kind kind_;
    std::uint32_t baudRate_;
    WakePipe wake_;
    std::atomic<bool> shutDown_{false};  // a stream aborted after a failed write
};

}  // namespace kestrova
