// SPDX-License-Identifier: MIT
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "peer_io.h"
#include "serial/unique_fd.h"

namespace kestrova::test {

// A TCP server on a free loopback port, playing the network serial port's far end.
class LoopbackListener {
  public:
    LoopbackListener() : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listener_.get(), 4) != 0 ||
            ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            listener_.reset();
            return;
        }
        port_ = ntohs(address.sin_port);
    }

    std::uint16_t port() const { return port_; }
    std::string device() const { return "tcp:127.0.0.1:" + std::to_string(port_); }
    void stopListening() { listener_.reset(); }

    // Accepts the port's connection (waits up to 5 s).
    bool accept() {
        pollfd wait{listener_.get(), POLLIN, 0};
        if (::poll(&wait, 1, 5000) != 1) {
            return false;
        }
        peer_.reset(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        return peer_.valid();
    }

    int peer() const { return peer_.get(); }
    void hangUp() { peer_.reset(); }

    bool send(const Bytes& bytes) const { return sendTo(peer_.get(), bytes); }
    Bytes receive(std::size_t count) const {
        return receiveFrom(peer_.get(), count, std::chrono::seconds(5));
    }

  private:
    UniqueFd listener_;
    UniqueFd peer_;
    std::uint16_t port_ = 0;
};

}  // namespace kestrova::test
