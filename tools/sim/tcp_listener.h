// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "src/platform/posix/unique_fd.h"

namespace kestrova::sim {

struct AcceptedClient {
    UniqueFd socket;
    std::string peer;  // "127.0.0.1:40500"
};

// A listening socket on 127.0.0.1 only: the simulator is never reachable from elsewhere.
class TcpListener {
  public:
    // Port 0 lets the system choose a free port; port() then tells which.
    static std::optional<TcpListener> open(std::uint16_t port, std::string& error);

    int fd() const { return socket.get(); }
    std::uint16_t port() const { return boundPort; }
    // Nonblocking; empty when no client is waiting.
    std::optional<AcceptedClient> accept() const;

  private:
    TcpListener(UniqueFd socket, std::uint16_t port) : socket(std::move(socket)), boundPort(port) {}

    UniqueFd socket;
    std::uint16_t boundPort;
};

}  // namespace kestrova::sim
