// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "tools/sim/sim_options.h"

namespace kestrova::sim {

class StopSignal;

// How a write ended: only a peer that takes no byte for a while has stopped reading.
enum class WriteEnd { Sent, PeerGone, Stalled, Stopped };

// Sends replies, with the faults asked for: random noise bytes before each reply, the whole in
// writes of a few bytes with a pause between them (a slow board: one byte at a time, a long
// pause), and page replies whose checksum is wrong.
class ReplyWriter {
  public:
    static constexpr std::chrono::milliseconds kChunkPause{3};

    ReplyWriter(const SimOptions& options, std::uint32_t seed)
        : chunk(options.slowMs != 0 && options.chunk == 0 ? 1 : options.chunk),
          pause(options.slowMs != 0 ? std::chrono::milliseconds(options.slowMs) : kChunkPause),
          noise(options.noise),
          noiseReplies(options.noiseReplies),
          badChecksum(options.badChecksum),
          random(seed) {}

    // The writes that carry one reply, in order.
    std::vector<std::vector<std::uint8_t>> plan(std::span<const std::uint8_t> reply);

    // Writes them to fd, all of them unless the peer is gone or stalls or a stop comes.
    WriteEnd send(int fd, std::span<const std::uint8_t> reply, const StopSignal& stop,
                  std::vector<std::vector<std::uint8_t>>& written);

  private:
    std::size_t chunk;  // 0: each reply in one write
    std::chrono::milliseconds pause;
    std::size_t noise;
    std::size_t noiseReplies;  // 0: noise before every reply
    bool badChecksum;
    std::size_t planned = 0;
    std::mt19937 random;
};

// Writes every byte, waiting while the peer's buffer is full; Stalled when it takes no byte
// for two seconds.
WriteEnd writeAll(int fd, std::span<const std::uint8_t> bytes, const StopSignal& stop);

}  // namespace kestrova::sim
