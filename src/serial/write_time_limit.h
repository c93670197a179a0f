// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace kestrova {

// A character takes 10 bit times on the line (start, 8 data, stop).
inline constexpr std::uint64_t kBitsPerCharacter = 10;
inline constexpr std::chrono::milliseconds kWriteGrace{1000};

// Time the bytes need on the line at the given speed, rounded up to whole milliseconds.
constexpr std::chrono::milliseconds lineTime(std::size_t bytes, std::uint32_t baudRate) {
    if (baudRate == 0) {
        return std::chrono::milliseconds{0};
    }
    const std::uint64_t bitMs = std::uint64_t{bytes} * kBitsPerCharacter * 1000;
    return std::chrono::milliseconds{(bitMs + baudRate - 1) / baudRate};
}

// How long one write may take: its time on the line plus a fixed grace, so that a long packet
// at a low speed is never cut short while a dead line still ends the wait.
constexpr std::chrono::milliseconds writeTimeLimit(std::size_t bytes, std::uint32_t baudRate) {
    return lineTime(bytes, baudRate) + kWriteGrace;
}

using Deadline = std::chrono::steady_clock::time_point;

// Whole milliseconds until the deadline, rounded up; 0 once it has passed.
inline std::chrono::milliseconds timeLeft(Deadline deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds{0});
}

}  // namespace kestrova
