// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "src/platform/posix/unique_fd.h"
#include "src/platform/posix/wake_pipe.h"
#include "src/serial/port_connection.h"

namespace kestrova {

// What a serial device and a TCP stream share: a non-blocking descriptor that the watcher
// polls together with a self-pipe, and writes that wait until the bytes are out.
class FdConnection : public PortConnection {
  public:
    bool valid() const { return fd_.valid() && wake_.valid(); }

    ReadResult waitAndRead(std::span<std::uint8_t> buffer) override;
    ReadResult readQueued(std::span<std::uint8_t> buffer) override;
    WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    void wake() override;

  protected:
    // `baudRate` 0: a stream with no line time, whose bytes are out once acknowledged.
    FdConnection(UniqueFd fd, bool socket, std::uint32_t baudRate);

    int fd() const { return fd_.get(); }
    // After a failed write: leave no rest of the packet that could follow later.
    virtual void discardUnsent() = 0;

  private:
    UniqueFd fd_;
    bool socket_;
    std::uint32_t baudRate_;
    WakePipe wake_;
};

// Opens `connection` for the caller, or says why it could not be made.
OpenedPort openedOrReason(std::unique_ptr<FdConnection> connection);

}  // namespace kestrova
