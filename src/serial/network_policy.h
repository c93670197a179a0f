// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "src/serial/port_connection.h"

namespace kestrova {

// How long a connection to the network port may take to come up.
inline constexpr std::chrono::milliseconds kConnectTimeout{3000};

// Room for a few page packets: more would hide a stalled peer behind buffered bytes.
inline constexpr int kSendBufferBytes = 2048;

// A network stream is reset after a failed write, so that the rest of the packet never follows;
// from then on every write is refused until the port is opened again.
class StreamShutdown {
  public:
    void set() { shut_.store(true); }
    bool isSet() const { return shut_.load(); }

    static WriteResult refusal() {
        return {false,
                "the connection was shut down after a failed write; disconnect and connect again"};
    }

  private:
    std::atomic<bool> shut_{false};
};

}  // namespace kestrova
