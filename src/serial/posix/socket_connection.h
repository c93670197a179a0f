// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "src/serial/network_policy.h"
#include "src/serial/posix/fd_connection.h"

namespace kestrova {

// The network port: a TCP stream whose write is done when the peer acknowledged every byte.
class SocketConnection : public FdConnection {
  public:
    // Connects within a few seconds; none, with the reason, when refused or unresolved.
    static OpenedPort connect(const std::string& host, std::uint16_t port);

    WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    void release() override {}

  private:
    using FdConnection::FdConnection;
    void discardUnsent() override;

    StreamShutdown shutdown_;
};

}  // namespace kestrova
