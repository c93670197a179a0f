// SPDX-License-Identifier: MIT
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>

#include "src/platform/win32/unique_handle.h"
#include "src/serial/network_policy.h"
#include "src/serial/port_connection.h"

namespace kestrova {

// The network port over Winsock: a non-blocking TCP stream with Nagle's delay off and a small
// send buffer. The watcher waits on the socket's network event and the wake event.
class SocketConnection : public PortConnection {
  public:
    // Connects within a few seconds; none, with the reason, when refused or unresolved.
    static OpenedPort connect(const std::string& host, std::uint16_t port);
    ~SocketConnection() override;

    ReadResult waitAndRead(std::span<std::uint8_t> buffer) override;
    ReadResult readQueued(std::span<std::uint8_t> buffer) override;
    WriteResult write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    void wake() override;
    void release() override {}

  private:
    SocketConnection() = default;

    // This object's share of Winsock, taken before any other member is made.
    struct WinsockUse {
        WinsockUse();
        ~WinsockUse();
        WinsockUse(const WinsockUse&) = delete;
        WinsockUse& operator=(const WinsockUse&) = delete;
        bool started = false;
    };

    // True once every byte handed to the stream was acknowledged, or the system cannot tell.
    bool acknowledged() const;
    int sendAll(std::span<const std::uint8_t> bytes, Deadline deadline);

    WinsockUse winsock_;
    SOCKET socket_ = INVALID_SOCKET;
    UniqueHandle networkEvent_ = UniqueHandle(::WSACreateEvent());
    UniqueHandle wakeEvent_ = makeEvent();
    std::uint64_t handedOver_ = 0;  // bytes given to the stream so far
    StreamShutdown shutdown_;       // after a failed write; the watcher closes the socket
};

}  // namespace kestrova
