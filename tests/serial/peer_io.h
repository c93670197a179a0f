// SPDX-License-Identifier: MIT
#pragma once

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <vector>

#include "serial/unique_fd.h"

namespace kestrova::test {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Test data that shows lost, doubled or reordered bytes.
inline Bytes pattern(std::size_t count, std::uint8_t seed = 0) {
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), seed);  // wraps at 256
    return bytes;
}

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

    UniqueFd fd;
};

}  // namespace kestrova::test
