// SPDX-License-Identifier: MIT
#pragma once

#include <arpa/inet.h>
#include <sys/socket.h>

#include <string>

#include "peer_io.h"

namespace kestrova::test {

// A TCP server on a free loopback port, playing the network serial port's far end.
class LoopbackListener : public PeerEnd {
  public:
    LoopbackListener() : listener_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t size = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (::bind(listener_.get(), any, size) == 0 && ::listen(listener_.get(), 4) == 0 &&
            ::getsockname(listener_.get(), any, &size) == 0) {
            device_ = "tcp:127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        }
    }

    const std::string& device() const { return device_; }
    void stopListening() { listener_.reset(); }

    // Takes the port's connection (waits up to 5 s) as the far end.
    bool accept() {
        pollfd wait{listener_.get(), POLLIN, 0};
        fd.reset(::poll(&wait, 1, 5000) == 1
                     ? ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC)
                     : -1);
        return fd.valid();
    }

  private:
    UniqueFd listener_;
    std::string device_;
};

}  // namespace kestrova::test
