// SPDX-License-Identifier: MIT
#pragma once

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrova::test {

using Bytes = std::vector<std::uint8_t>;

// Distinct, non-repeating-looking test data.
inline Bytes pattern(std::size_t count, std::uint8_t seed = 0) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) % 251);
    }
    return bytes;
}

inline Bytes text(std::string_view s) {
    return {s.begin(), s.end()};
}

// The far end's side of a device: what the port wrote, waiting up to `limit` for `count`.
inline Bytes receiveFrom(int fd, std::size_t count, std::chrono::milliseconds limit) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 50) != 1) {
            continue;
        }
        std::uint8_t buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

inline bool sendTo(int fd, const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kestrova::test
