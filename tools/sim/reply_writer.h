// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace kestrova::sim {

class StopSignal;

// How a write ended: only a peer that takes no byte for a while has stopped reading.
enum class WriteEnd { Sent, PeerGone, Stalled, Stopped };

// Sends replies, with the faults asked for: random noise bytes before each reply, and the
// whole in writes of a few bytes with a short pause between them.
class ReplyWriter {
  public:
    static constexpr std::chrono::milliseconds kChunkPause{3};

    // chunk 0 sends each reply in one write; noiseReplies 0 puts noise before every reply.
    ReplyWriter(std::size_t chunk, std::size_t noise, std::size_t noiseReplies, std::uint32_t seed)
        : chunk(chunk), noise(noise), noiseReplies(noiseReplies), random(seed) {}

    // The writes that carry one reply, in order.
    std::vector<std::vector<std::uint8_t>> plan(std::span<const std::uint8_t> reply);

    // Writes them to fd, all of them unless the peer is gone or stalls or a stop comes.
    WriteEnd send(int fd, std::span<const std::uint8_t> reply, const StopSignal& stop,
                  std::vector<std::vector<std::uint8_t>>& written);

  private:
    std::size_t chunk;
    std::size_t noise;
    std::size_t noiseReplies;
    std::size_t planned = 0;
    std::mt19937 random;
};

// Writes every byte, waiting while the peer's buffer is full; Stalled when it takes no byte
// for two seconds.
WriteEnd writeAll(int fd, std::span<const std::uint8_t> bytes, const StopSignal& stop);

}  // namespace kestrova::sim
