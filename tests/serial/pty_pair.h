// SPDX-License-Identifier: MIT
#pragma once

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/unique_fd.h"

namespace kestrova::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// The far end of a device, played by the test: a pty master or an accepted socket.
struct PeerEnd {
    // A blocking write: a short count is a failure.
    bool send(const Bytes& bytes) const {
        return ::write(fd.get(), bytes.data(), bytes.size()) == std::ssize(bytes);
    }

    // What the port wrote: up to `count` bytes, giving up after `limit` without any.
    Bytes receive(std::size_t count, std::chrono::milliseconds limit = 5s) const {
        Bytes bytes(count);
        std::size_t got = 0;
        pollfd wait{fd.get(), POLLIN, 0};
        for (ssize_t n = 1; n > 0 && got < count && ::poll(&wait, 1, int(limit.count())) == 1;) {
            n = ::read(fd.get(), bytes.data() + got, count - got);
            got += static_cast<std::size_t>(std::max<ssize_t>(n, 0));
        }
        bytes.resize(got);
        return bytes;
    }

    UniqueFd fd;         // the pty master or the accepted socket
    UniqueFd held;       // the pty slave, to read line settings back, or the listening socket
    std::string device;  // what the port opens to reach this end
};

// A pseudo-terminal: the port opens the slave by its path, the test plays the controller on
// the master.
struct PtyPair : PeerEnd {
    PtyPair() {
        int master = -1, slave = -1;
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
            fd.reset(master);
            held.reset(slave);
            device = ::ttyname(slave);
        }
    }
    const std::string& path() const { return device; }
};

}  // namespace kestrova::test
